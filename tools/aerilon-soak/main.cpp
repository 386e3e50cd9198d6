// aerilon-soak: flies the module through the stand-in simulator for a long
// time, over the sample course and generated ones, with random flight,
// commands, keys, dialog answers and score-file trouble, and checks after
// every tick that its queues, registrations, scores and heap stay sound.
#include <CLI/CLI.hpp>
#include <cstdio>

#include "tools/aerilon-soak/soak.h"

namespace {

void PrintSummary(const SoakOptions& o, const SoakReport& r) {
  const SoakCounts& c = r.counts;
  double rate = r.wall_seconds > 0 ? static_cast<double>(c.ticks) / r.wall_seconds : 0;
  std::printf("aerilon-soak: seed %u\n", o.seed);
  std::printf("  ticks            %lld\n", static_cast<long long>(c.ticks));
  std::printf("  module runs      %lld\n", static_cast<long long>(c.module_runs));
  std::printf("  courses          %d\n", r.courses_flown);
  std::printf("  legs started     %lld\n", static_cast<long long>(c.legs_started));
  std::printf("  legs finished    %lld\n", static_cast<long long>(c.legs_finished));
  std::printf("  targets met      %lld\n", static_cast<long long>(c.targets_met));
  std::printf("  bonus awards     %lld\n", static_cast<long long>(c.awards));
  std::printf("  dialogs opened   %lld\n", static_cast<long long>(c.dialogs_opened));
  std::printf("  prompts played   %lld\n", static_cast<long long>(c.prompts_played));
  std::printf("  wall seconds     %.1f\n", r.wall_seconds);
  std::printf("  ticks per second %.0f\n", rate);
}

}  // namespace

int main(int argc, char** argv) {
  SoakOptions o;
  CLI::App app{"Soaks the rally module on the stand-in simulator"};
  app.add_option("--ticks", o.ticks, "ticks to fly in all")->check(CLI::PositiveNumber);
  app.add_option("--seed", o.seed, "seed of the flight, the courses and the module's generator");
  app.add_option("--courses", o.courses, "generated courses flown besides the sample course")
      ->check(CLI::Range(0, 1000));
  app.add_option("--run-ticks", o.run_ticks, "ticks of one module run")->check(CLI::PositiveNumber);
  CLI11_PARSE(app, argc, argv);

  SoakReport report = RunSoak(o);
  PrintSummary(o, report);
  if (report.violation) {
    std::fprintf(stderr, "aerilon-soak: tick %lld (seed %u, %s): invariant \"%s\" broken: %s\n",
                 static_cast<long long>(report.counts.ticks), o.seed, report.where.c_str(),
                 report.violation->invariant.c_str(), report.violation->detail.c_str());
    return 1;
  }
  return 0;
}
