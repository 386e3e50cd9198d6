#include <filesystem>
#include <fstream>
#include <iostream>

#include "tools/aerilon-course/commands.h"
#include "tools/aerilon-course/fly/fly_document.h"
#include "tools/aerilon-course/fly/fly_report.h"
#include "tools/aerilon-course/fly/observed_flight.h"
#include "tools/aerilon-course/load_course_document.h"
#include "tools/aerilon-course/map/course_map.h"
#include "tools/aerilon-sim/flight_writer.h"
#include "tools/aerilon-sim/human_transcript.h"
#include "tools/common/output_file.h"

namespace {

struct FlyCommandOptions {
  std::string course;
  std::string legs = "all";
  std::string aircraft = "light_single";
  uint32_t seed = 1;
  std::string output;
  std::string transcript;
  std::string map;
};

TranscriptSink TranscriptPrinter(const std::string& kind) {
  if (kind == "human") {
    return [](const TranscriptLine& line) { WriteHumanLine(std::cout, line); };
  }
  if (kind == "json") {
    return [](const TranscriptLine& line) { WriteJsonLine(std::cout, line); };
  }
  return nullptr;
}

std::vector<uint8_t> FlightBytes(const FlightScript& flight) {
  std::string text;
  for (const FlightLine& line : flight.lines) text += FlightLineText(line) + "\n";
  return std::vector<uint8_t>(text.begin(), text.end());
}

int RunFly(const FlyCommandOptions& o) {
  if (!o.output.empty()) {
    if (std::optional<std::string> problem = CheckOutputFile(o.output, {o.course})) {
      std::cerr << o.output << ": error: " << *problem << "\n";
      return 1;
    }
  }
  if (!o.map.empty()) {
    std::error_code ignored;
    if (!o.output.empty() && std::filesystem::weakly_canonical(o.map, ignored) ==
                                 std::filesystem::weakly_canonical(o.output, ignored)) {
      std::cerr << o.map << ": error: the map and the flight (-o) would be the same file\n";
      return 1;
    }
    if (std::optional<std::string> problem = CheckOutputFile(o.map, {o.course, o.output})) {
      std::cerr << o.map << ": error: " << *problem << "\n";
      return 1;
    }
  }
  CourseDocument document;
  std::vector<Diagnostic> problems;
  bool read = LoadCourseDocument(o.course, &document, &problems);
  std::optional<AircraftLimits> aircraft;
  if (read) aircraft = ChooseAircraft(o.aircraft, &problems);
  for (const Diagnostic& d : problems) std::cerr << FormatDiagnostic(d) << "\n";
  if (!read || !aircraft) return 1;
  std::string error;
  std::optional<std::vector<int>> legs =
      ParseLegList(o.legs, static_cast<int>(document.course.legs.size()), &error);
  if (!legs) {
    std::cerr << "error: " << error << "\n";
    return 1;
  }
  FlyOptions options;
  for (int leg : *legs) options.legs.push_back(EntryOfLeg(document.course, leg));
  options.aircraft = *aircraft;
  options.seed = o.seed;
  FlyResult result = FlyCourseDocument(document, options, TranscriptPrinter(o.transcript));
  if (o.transcript == "json") {
    TranscriptLine line;
    line["report"] = FlyReportJson(result, *aircraft);
    WriteJsonLine(std::cout, line);
  } else {
    WriteFlyReport(std::cout, result, *aircraft);
  }
  if (!o.output.empty()) {
    if (std::optional<std::string> problem =
            WriteOutputFile(o.output, FlightBytes(result.flight), {o.course})) {
      std::cerr << o.output << ": error: " << *problem << "\n";
      return 1;
    }
    std::cerr << "flight written to " << o.output << "; fly it again with\n  aerilon-sim --course "
              << o.course << " --flight " << o.output << " --seed " << o.seed << " --time "
              << kFlyCalendarTime << " --trace targets\n";
  }
  if (!o.map.empty()) {
    FlightOutcome outcome = ObserveFlight(document, result.flight, o.seed);
    std::string map_error;
    if (!DrawCourseMap(document, outcome.track, o.map, &map_error, MapSize{}, outcome.verdicts)) {
      std::cerr << map_error << "\n";
      return 1;
    }
  }
  bool all_finished = true;
  for (const FlownLeg& leg : result.legs) all_finished = all_finished && leg.finished;
  return all_finished && !result.legs.empty() ? 0 : 3;
}

}  // namespace

void AddFlyCommand(CLI::App& app, int* exit_status) {
  auto* command = app.add_subcommand(
      "fly", "Fly a course with the autopilot on the stand-in simulator and report every leg");
  static FlyCommandOptions o;
  command->add_option("COURSE", o.course, "the course source (TOML) or course file (Rally.DAT)")
      ->required()
      ->type_name("FILE");
  command->add_option("--legs", o.legs, "the legs to fly, in order: all (default) or 1,3");
  command->add_option("--aircraft", o.aircraft,
                      "a built-in aircraft (light_single, the default; aerobatic; business_jet) or "
                      "an aircraft file (see examples/aircraft/)");
  command->add_option("--seed", o.seed, "seed of the module's random generator (default 1)");
  command->add_option("-o,--output", o.output,
                      "write the flight flown as a flight script that aerilon-sim flies again");
  command
      ->add_option("--transcript", o.transcript,
                   "also print the run's transcript with the target trace: human or json (the "
                   "report then comes as a last JSON line)")
      ->check(CLI::IsMember({"human", "json"}));
  command->add_option("--map", o.map,
                      "also draw the course's map with the flight flown over it (PNG): the track "
                      "in each leg's colour, each target met or not");
  command->footer(
      "Exit status: 0 every leg flown was finished; 1 the course, the aircraft or an option "
      "cannot be used; 3 a leg was not finished (the report says why).");
  command->callback([exit_status] {
    try {
      *exit_status = RunFly(o);
    } catch (const std::exception& e) {
      std::cerr << "error: " << e.what() << "\n";
      *exit_status = 1;
    }
  });
}
