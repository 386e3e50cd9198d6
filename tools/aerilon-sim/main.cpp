// aerilon-sim: the stand-in simulator as a command. It loads the module on a
// simulator folder (the embedded sample course when none is given), runs
// it tick by tick and prints, as JSON lines, every call the module makes.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>
#include <iostream>
#include <optional>
#include <string>
#include <unistd.h>

#include "rally/course/course_check.h"
#include "rally/course/course_writer.h"
#include "rally/course/scramble.h"
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

// The module refuses a bad course silently, as it must inside the
// simulator; a course designer running it here is told why.
void ExplainCourse(const fs::path& root) {
  fs::path course = root / "ADV" / "RALLY" / "Rally.DAT";
  std::ifstream in(course, std::ios::binary);
  if (!in) {
    std::cerr << "aerilon-sim: " << course.string()
              << ": no course file; the module stays inert\n";
    return;
  }
  std::vector<uint8_t> image((std::istreambuf_iterator<char>(in)), {});
  UnscrambleWords(image.data(), static_cast<uint32_t>(image.size()));
  CourseCheck check = CheckCourseImage(image.data(), static_cast<uint32_t>(image.size()));
  if (check.problem == CourseProblem::kNone) return;
  std::cerr << "aerilon-sim: " << course.string() << ": the module refuses this course: "
            << DescribeCourseProblem(check.problem) << " (at byte " << check.offset;
  if (check.entry >= 0) std::cerr << ", entry " << check.entry;
  std::cerr << "); the module stays inert\n";
}

uint32_t FixedTime = 0;
uint32_t FixedCalendarTime(void*) { return FixedTime; }

Transcript MakeTranscript(const RallyModule& m, const SimHost& host) {
  Transcript t{&std::cout, {}, 0};
  t.routine_names[m.routines.main_window_proc] = "MainWindowProc";
  t.routine_names[host.window.window_proc] = "SimulatorWindowProc";
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
  ExplainCourse(root);

  SimHost host;
  StdioPlatform files{};
  std::snprintf(files.root, sizeof files.root, "%s", root.string().c_str());
  RallyModule& m = LoadedModule();
  BindModuleToSim(m, host, files);
  if (options.time) {
    FixedTime = *options.time;
    m.platform.calendar_time = FixedCalendarTime;
  }
  Transcript t = MakeTranscript(m, host);

  WriteHostStep(t, host.tick, "ModuleInit");
  int32_t result = ModuleInit(m);
  FlushCalls(t, host);
  WriteHostReturn(t, host.tick, "ModuleInit", result);
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
