// aerilon-sim: the stand-in simulator as a command. It loads the module on a
// simulator folder (the embedded sample course when none is given), runs
// it tick by tick and prints, as JSON lines, every call the module makes.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <unistd.h>

#include "rally/course/course_writer.h"
#include "rally/host/entry_points.h"
#include "rally/host/lifecycle.h"
#include "sim/sim_module_binding.h"
#include "transcript.h"

namespace fs = std::filesystem;

namespace {

struct Options {
  std::string root;
  int ticks = 40;
  std::optional<uint32_t> time;
};

// A fresh simulator folder holding the sample course as ADV/RALLY/Rally.DAT.
fs::path MakeSampleFolder() {
  fs::path root = fs::temp_directory_path() / ("aerilon-sim-" + std::to_string(::getpid()));
  fs::create_directories(root / "ADV" / "RALLY");
  fs::path course = root / "ADV" / "RALLY" / "Rally.DAT";
  if (!WriteCourseFile(course.string(), SampleCourse())) {
    throw std::runtime_error("cannot write the sample course to " + course.string());
  }
  return root;
}

uint32_t FixedTime = 0;
uint32_t FixedCalendarTime(void*) { return FixedTime; }

Transcript MakeTranscript(const RallyModule& m) {
  Transcript t{&std::cout, {}, 0};
  t.routine_names[reinterpret_cast<uintptr_t>(m.routines.startup_tick)] = "StartupDelayTick";
  t.routine_names[reinterpret_cast<uintptr_t>(m.routines.engine_tick)] = "EngineTick";
  t.routine_names[reinterpret_cast<uintptr_t>(m.routines.host_event)] = "OnHostEvent";
  t.routine_names[reinterpret_cast<uintptr_t>(m.routines.prompt_done)] = "OnPromptDone";
  return t;
}

int Run(const Options& options) {
  std::optional<fs::path> sample;
  fs::path root = options.root;
  if (root.empty()) {
    sample = MakeSampleFolder();
    root = *sample;
  }
  std::cerr << "aerilon-sim: simulator folder " << root.string() << "\n";

  SimHost host;
  StdioPlatform files{};
  std::snprintf(files.root, sizeof files.root, "%s", root.string().c_str());
  RallyModule& m = LoadedModule();
  BindModuleToSim(m, host, files);
  if (options.time) {
    FixedTime = *options.time;
    m.platform.calendar_time = FixedCalendarTime;
  }
  Transcript t = MakeTranscript(m);

  WriteHostStep(t, host.tick, "ModuleInit", ModuleInit(m));
  FlushCalls(t, host);
  for (int i = 0; i < options.ticks; ++i) {
    SimRunTick(host);
    FlushCalls(t, host);
  }
  WriteHostStep(t, host.tick, "ModuleDeinit");
  ModuleDeinit(m);
  FlushCalls(t, host);
  if (sample) fs::remove_all(*sample);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Runs the Aerilon module on the stand-in simulator and prints every host call."};
  Options options;
  app.add_option("--root", options.root,
                 "simulator folder holding ADV/RALLY/Rally.DAT (default: the sample course)")
      ->check(CLI::ExistingDirectory);
  app.add_option("--ticks", options.ticks, "ticks to run (six a second)")->check(CLI::NonNegativeNumber);
  app.add_option("--time", options.time, "calendar time in seconds that seeds the module");
  CLI11_PARSE(app, argc, argv);
  try {
    return Run(options);
  } catch (const std::exception& e) {
    std::cerr << "aerilon-sim: " << e.what() << "\n";
    return 1;
  }
}
