// aerilon-sim: the stand-in simulator as a command. It loads the module on
// a simulator folder (the embedded sample course when none is given), flies
// a flight script through it tick by tick and prints what the module does:
// texts, voice prompts, commands, dialogs, files, state writes.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "course_model/course.h"
#include "course_model/course_writer.h"
#include "examples/compiled_sample_course.h"
#include "rally/course/course_check.h"
#include "rally/course/scramble.h"
#include "tools/aerilon-course/fly/observed_flight.h"
#include "tools/aerilon-course/load_course_document.h"
#include "tools/aerilon-sim/flight_script.h"
#include "tools/aerilon-sim/human_transcript.h"
#include "tools/aerilon-sim/run_loop.h"
#include "tools/aerilon-sim/sample_flight.h"
#include "tools/aerilon-sim/sample_folder.h"
#include "tools/common/input_file.h"

namespace fs = std::filesystem;

namespace {

struct Options {
  std::string root;
  std::string flight;
  std::optional<int64_t> ticks;
  std::optional<uint32_t> seed;
  std::optional<uint32_t> time;
  int32_t prompt_ticks = 12;
  bool require_sound_files = false;
  std::string transcript = "json";
  std::string trace;
  std::string course;
};

// A user mistake the tool explains before anything runs.
struct UsageError {
  std::string message;
};

// The module refuses a bad course silently, as it must inside the
// simulator; a course designer running it here is told why.
void ExplainCourse(const fs::path& root) {
  fs::path course = root / "ADV" / "RALLY" / "Rally.DAT";
  std::vector<uint8_t> image;
  std::string problem;
  if (!ReadInputFile(course.string(), &image, &problem)) {
    std::error_code error;
    bool missing = !fs::exists(fs::symlink_status(course, error));
    std::cerr << "aerilon-sim: " << course.string() << ": "
              << (missing ? "no course file" : problem) << "; the module stays inert\n";
    return;
  }
  UnscrambleWords(image.data(), static_cast<uint32_t>(image.size()));
  CourseCheck check = CheckCourseImage(image.data(), static_cast<uint32_t>(image.size()));
  if (check.problem == CourseProblem::kNone) return;
  std::cerr << "aerilon-sim: " << course.string()
            << ": the module refuses this course: " << DescribeCourseProblem(check.problem)
            << " (at byte " << check.offset;
  if (check.entry >= 0) std::cerr << ", entry " << check.entry;
  std::cerr << "); the module stays inert\n";
}

std::string ReadWholeFile(const std::string& path) {
  std::string text, problem;
  if (!ReadInputText(path, &text, &problem)) throw UsageError{path + ": " + problem};
  return text;
}

FlightScript ParsedFlight(const std::string& text, const std::string& name,
                          const FlightPlaces* places = nullptr) {
  FlightScript flight;
  if (std::optional<FlightScriptError> error = ParseFlightScript(text, flight, places)) {
    throw UsageError{name + ":" + std::to_string(error->line_number) + ": " + error->message};
  }
  if (flight.lines.empty()) {
    std::cerr << "aerilon-sim: " << name
              << ": the flight has no lines; the module is only started and shut down\n";
  }
  return flight;
}

// The flight to fly: the given script, an idle run of --ticks, or, with
// neither and no folder of one's own, the sample flight.
FlightScript ChooseFlight(const Options& o, const FlightPlaces* places) {
  if (!o.flight.empty()) return ParsedFlight(ReadWholeFile(o.flight), o.flight, places);
  if (o.ticks) return IdleFlight(*o.ticks);
  if (!o.root.empty() || !o.course.empty()) {
    throw UsageError{std::string("with ") + (o.root.empty() ? "--course" : "--root") +
                     ", give a flight (--flight FILE) or a number of ticks (--ticks N)"};
  }
  return ParsedFlight(kSampleFlight, "the built-in sample flight");
}

TranscriptSink ChooseSink(const std::string& transcript) {
  if (transcript == "human") {
    return [](const TranscriptLine& line) { WriteHumanLine(std::cout, line); };
  }
  return [](const TranscriptLine& line) { WriteJsonLine(std::cout, line); };
}

// The course of --course (a source or a course file), with its places for
// the flight's "at"; the reasons when it cannot be read.
CourseDocument LoadCourse(const std::string& path, FlightPlaces* places) {
  CourseDocument document;
  std::vector<Diagnostic> diagnostics;
  if (!LoadCourseDocument(path, &document, &diagnostics)) {
    std::string reasons;
    for (const Diagnostic& d : diagnostics)
      reasons += (reasons.empty() ? "" : "\n") + FormatDiagnostic(d);
    throw UsageError{reasons.empty() ? path + ": the course cannot be read" : reasons};
  }
  *places = PlacesOf(document);
  return document;
}

int Run(const Options& o) {
  RunSetup setup;
  FlightPlaces places;
  std::optional<CourseDocument> course;
  if (!o.course.empty()) course = LoadCourse(o.course, &places);
  setup.flight = ChooseFlight(o, course ? &places : nullptr);
  setup.seed = o.seed;
  setup.calendar_time = o.time;
  setup.prompt_ticks = o.prompt_ticks;
  setup.require_sound_files = o.require_sound_files;
  setup.trace_targets = o.trace == "targets";
  std::optional<SampleFolder> sample;
  if (o.root.empty())
    sample.emplace(course ? EncodeCourseFile(course->course) : SampleCourseFile());
  setup.root = sample ? sample->root().string() : o.root;
  ExplainCourse(setup.root);
  RunFlight(setup, ChooseSink(o.transcript));
  std::cout.flush();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "Runs the Aerilon module on the stand-in simulator through a flight script and prints what "
      "it does, one JSON line per observable call (see the README)."};
  Options o;
  app.add_option("--root", o.root,
                 "simulator folder holding ADV/RALLY/Rally.DAT (default: the sample course in a "
                 "temporary folder)")
      ->check(CLI::ExistingDirectory);
  CLI::Option* flight = app.add_option("--flight", o.flight,
                                       "flight script, JSON lines (default: the sample flight)");
  app.add_option("--ticks", o.ticks, "run this many ticks with no flight (six a second)")
      ->check(CLI::Range(int64_t{0}, int64_t{2147483646}))
      ->excludes(flight);
  // A later setting wins, so that a wrapper's defaults can be overridden.
  app.add_option("--seed", o.seed, "seed of the module's random generator (default: the clock)")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_option("--time", o.time, "calendar time in seconds that the module's clock answers")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_option("--prompt-ticks", o.prompt_ticks, "ticks a voice prompt plays (default 12)")
      ->check(CLI::Range(1, 1000000))
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_flag("--require-sound-files", o.require_sound_files,
               "a prompt loads only when <name>.wav exists under the root");
  app.add_option("--transcript", o.transcript, "json (default) or human")
      ->check(CLI::IsMember({"json", "human"}))
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_option("--course", o.course,
                 "fly this course (a course source or a course file) in a temporary folder; a "
                 "source's places can be named in the flight's \"fly\" lines")
      ->excludes(app.get_option("--root"));
  app.add_option("--trace", o.trace,
                 "targets: also what the race engine decided of each target of a leg, tick by "
                 "tick (see the README)")
      ->check(CLI::IsMember({"targets"}));
  CLI11_PARSE(app, argc, argv);
  try {
    return Run(o);
  } catch (const UsageError& e) {
    std::cerr << "aerilon-sim: " << e.message << "\n";
    return 2;
  } catch (const std::exception& e) {
    std::cerr << "aerilon-sim: " << e.what() << "\n";
    return 1;
  }
}
