#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "course_model/course_writer.h"
#include "rally/module/entry_points.h"
#include "rally/state/random_generator.h"
#include "tests/support/flight_test_support.h"
#include "tests/support/module_test_support.h"
#include "tools/aerilon-sim/run_loop.h"

// aerilon-sim's run: the order of the host's work around each tick, the
// pilot's commands and answers, and what the transcript sees.
namespace {

using Lines = std::vector<TranscriptLine>;

class SimRun : public ::testing::Test {
 protected:
  void SetUp() override { WriteCourse(SampleCourse()); }
  void TearDown() override { ResetLoadedModule(); }

  void WriteCourse(const course_model::Course& course) {
    ASSERT_TRUE(WriteCourseFile(folder_.File("Rally.DAT").string(), course));
  }

  // Runs the flight given as JSON lines and returns the transcript.
  Lines Fly(const std::string& flight_text) {
    RunSetup setup = setup_;
    setup.root = folder_.root.string();
    std::optional<FlightScriptError> error = ParseFlightScript(flight_text, setup.flight);
    EXPECT_FALSE(error) << (error ? error->message : "");
    Lines lines;
    init_result_ = RunFlight(setup, [&](const TranscriptLine& line) { lines.push_back(line); });
    return lines;
  }

  static Lines Named(const Lines& lines, const std::string& call) {
    Lines found;
    for (const TranscriptLine& line : lines) {
      if (line.value("call", "") == call) found.push_back(line);
    }
    return found;
  }
  static Lines AtTick(const Lines& lines, int64_t tick) {
    Lines found;
    for (const TranscriptLine& line : lines) {
      if (line["tick"] == tick && line.contains("call")) found.push_back(line);
    }
    return found;
  }
  static std::vector<std::string> Calls(const Lines& lines) {
    std::vector<std::string> calls;
    for (const TranscriptLine& line : lines) calls.push_back(line.value("call", "summary"));
    return calls;
  }

  TempSimFolder folder_;
  RunSetup setup_;
  int32_t init_result_ = 0;
};

using Names = std::vector<std::string>;

TEST_F(SimRun, TheEnginesFirstTickIsHostTick32) {
  Lines at31 = Fly("{\"tick\":31,\"state\":{}}");
  EXPECT_EQ(init_result_, 1);
  Lines handover = AtTick(at31, 31);
  ASSERT_EQ(handover.size(), 2u);
  EXPECT_EQ(handover[0]["call"], "unregister_callback");
  EXPECT_EQ(handover[1]["routine"], "EngineTick");
  EXPECT_EQ(LoadedModule().race.tick_count, 0) << "registered in tick 31, not yet called";
  Fly("{\"tick\":32,\"state\":{}}");
  EXPECT_EQ(LoadedModule().race.tick_count, 1);
}

TEST_F(SimRun, AnEndLineStopsTheRunBeforeItsTick) {
  Lines lines = Fly("{\"tick\":10,\"end\":true}");
  ASSERT_FALSE(lines.empty());
  const TranscriptLine& summary = lines.back();
  EXPECT_EQ(summary["summary"]["ticks"], 9);
  EXPECT_EQ(summary["tick"], 10);
  EXPECT_EQ(Calls(AtTick(lines, 10)), (Names{"unregister_callback", "unregister_callback"}))
      << "the module is shut down before tick 10";
  EXPECT_EQ(Calls(AtTick(lines, 1)), (Names{"register_callback", "register_callback"}));
}

TEST_F(SimRun, ThePilotsCommandRunsItsDialogAtOnce) {
  Lines lines = Fly("{\"tick\":5,\"command\":\"scores\"}\n{\"tick\":6,\"end\":true}");
  Lines dialogs = Named(lines, "dialog");
  ASSERT_EQ(dialogs.size(), 1u);
  EXPECT_EQ(dialogs[0]["tick"], 5);
  EXPECT_EQ(dialogs[0]["id"], 101);
  EXPECT_EQ(dialogs[0]["controls"][0]["text"], "Rally dell'isola");
  EXPECT_EQ(dialogs[0]["disabled"], nlohmann::ordered_json::array({1040}))
      << "out of the race the exit is greyed";
  EXPECT_EQ(dialogs[0]["result"], 1);
}

TEST_F(SimRun, PromptsThatPlayedOutEndBeforeTheLinesOfTheirTick) {
  // Leaving the race from the summary while armed: the notice and its
  // prompt. The prompt started at tick 2 ends before tick 14, before that
  // tick's own commands run.
  Lines lines =
      Fly("{\"tick\":1,\"answer\":{\"summary\":\"exit\"}}\n"
          "{\"tick\":2,\"command\":\"enter\"}\n{\"tick\":2,\"command\":\"scores\"}\n"
          "{\"tick\":14,\"command\":\"enter\"}\n{\"tick\":14,\"command\":\"scores\"}\n"
          "{\"tick\":15,\"end\":true}");
  EXPECT_EQ(Calls(AtTick(lines, 2)), (Names{"dialog", "show_text", "load_sound", "play_sound"}));
  EXPECT_EQ(AtTick(lines, 2)[1]["text"], "Tratta interrotta");
  EXPECT_EQ(AtTick(lines, 2)[1]["duration"], 72);
  EXPECT_EQ(AtTick(lines, 2)[2]["name"], "ADV\\RALLY\\Abort");
  EXPECT_EQ(Calls(AtTick(lines, 14)),
            (Names{"release_sound", "dialog", "show_text", "load_sound", "play_sound"}));
  EXPECT_EQ(AtTick(lines, 14)[1]["result"], 1040) << "the answer holds for the next dialogs";
}

TEST_F(SimRun, PromptTicksSetHowLongAPromptPlays) {
  setup_.prompt_ticks = 3;
  Lines lines =
      Fly("{\"tick\":1,\"answer\":{\"summary\":\"exit\"}}\n"
          "{\"tick\":2,\"command\":\"enter\"}\n{\"tick\":2,\"command\":\"scores\"}\n"
          "{\"tick\":9,\"end\":true}");
  Lines released = Named(lines, "release_sound");
  ASSERT_EQ(released.size(), 1u);
  EXPECT_EQ(released[0]["tick"], 5);
}

TEST_F(SimRun, AnExitThatIsGreyedClosesAsOk) {
  Lines lines =
      Fly("{\"tick\":1,\"answer\":{\"summary\":\"exit\"}}\n{\"tick\":1,\"command\":\"scores\"}\n"
          "{\"tick\":2,\"answer\":{\"quiz\":2}}\n{\"tick\":2,\"command\":\"enter\"}\n"
          "{\"tick\":2,\"command\":\"scores\"}\n{\"tick\":3,\"end\":true}");
  Lines dialogs = Named(lines, "dialog");
  ASSERT_EQ(dialogs.size(), 2u);
  EXPECT_EQ(dialogs[0]["result"], 1);
  EXPECT_EQ(dialogs[1]["result"], 1040) << "a quiz answer leaves the summary's answer alone";
  EXPECT_EQ(Named(lines, "show_text").size(), 1u);
}

TEST_F(SimRun, ACommandTheModuleAsksForIsDeliveredWhenItsCallbackReturns) {
  Lines lines = Fly("{\"tick\":3,\"event\":\"0x1013C\"}\n{\"tick\":4,\"end\":true}");
  EXPECT_EQ(Calls(AtTick(lines, 3)), (Names{"issue_command", "dialog"}));
  EXPECT_EQ(AtTick(lines, 3)[0]["slot"], 1);
  EXPECT_EQ(AtTick(lines, 3)[0]["command"], 218);
}

TEST_F(SimRun, APositionCommandShowsWhatItWrote) {
  Lines lines = Fly("{\"tick\":2,\"command\":\"position:8\"}");
  Lines written = Named(lines, "state_written");
  ASSERT_EQ(written.size(), 1u);
  const TranscriptLine& fields = written[0]["fields"];
  EXPECT_EQ(fields["aircraft_heading"], 0x97A50000u);
  EXPECT_EQ(fields["reposition_altitude"]["upper"], 22);
  EXPECT_EQ(fields["reposition_altitude"]["lower"], 0xEB460000u);
  EXPECT_EQ(fields["aircraft_latitude"]["upper"], 0x002C79CB);
  EXPECT_EQ(fields["reposition_mode"], 15);
  EXPECT_EQ(fields["reposition_request"], 1);
  EXPECT_EQ(fields["on_ground"], 1);
}

TEST_F(SimRun, PromptsNeedTheirSoundFilesWhenAskedTo) {
  const std::string flight =
      "{\"tick\":1,\"answer\":{\"summary\":\"exit\"}}\n"
      "{\"tick\":2,\"command\":\"enter\"}\n{\"tick\":2,\"command\":\"scores\"}\n"
      "{\"tick\":3,\"end\":true}";
  setup_.require_sound_files = true;
  Lines missing = Fly(flight);
  ASSERT_EQ(Named(missing, "load_sound").size(), 1u);
  EXPECT_EQ(Named(missing, "load_sound")[0]["loaded"], false);
  EXPECT_TRUE(Named(missing, "play_sound").empty());

  std::filesystem::create_directories(folder_.root / "adv" / "rally");
  std::ofstream(folder_.root / "adv" / "rally" / "abort.WAV") << "RIFF";
  Lines found = Fly(flight);
  EXPECT_EQ(Named(found, "load_sound")[0]["loaded"], true);
  EXPECT_EQ(Named(found, "play_sound").size(), 1u);
}

TEST_F(SimRun, TheSeedOrTheTimeStartsTheGenerator) {
  RandomGenerator expected{};
  setup_.seed = 1234;
  Fly("{\"tick\":1,\"end\":true}");
  SeedRandom(expected, 1234);
  EXPECT_EQ(LoadedModule().random.state, expected.state);

  setup_.seed.reset();
  setup_.calendar_time = 86400;
  Fly("{\"tick\":1,\"end\":true}");
  SeedRandom(expected, 86400);
  EXPECT_EQ(LoadedModule().random.state, expected.state);
}

TEST_F(SimRun, WithoutACourseNothingIsRegisteredAndCommandsGoNowhere) {
  std::filesystem::remove(folder_.File("Rally.DAT"));
  Lines lines = Fly("{\"tick\":2,\"command\":\"scores\"}\n{\"tick\":3,\"event\":\"0x1013C\"}");
  EXPECT_EQ(init_result_, 0);
  EXPECT_EQ(Calls(lines), (Names{"summary"}));
  EXPECT_EQ(lines.back()["summary"]["module_started"], false);
  EXPECT_EQ(lines.back()["summary"]["best_totals"], nlohmann::ordered_json::array());
}

TEST_F(SimRun, AFinishedLegIsSummedUpAndItsScoreFileWritten) {
  using namespace flight;
  WriteCourse(CourseOf({LegOf({}, LegEnd{100, 600, 1})}));
  Lines lines =
      Fly("{\"tick\":40,\"command\":\"enter\"}\n"
          "{\"tick\":40,\"state\":{\"lat\":" +
          std::to_string(kLat) + ",\"lon\":" + std::to_string(kLon) +
          ",\"alt\":" + std::to_string(kAlt) + ",\"speed\":" + std::to_string(kCruise) +
          "}}\n"
          "{\"tick\":41,\"end\":true}");
  Lines files = Named(lines, "score_file_written");
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files[0]["tick"], 40);
  EXPECT_EQ(files[0]["path"], "ADV\\RALLY\\Rally.SCO");
  EXPECT_EQ(files[0]["bytes"], 748);
  EXPECT_EQ(Named(lines, "show_text")[0]["text"], "TRATTA 1 INIZIATA!");
  const TranscriptLine& summary = lines.back()["summary"];
  EXPECT_EQ(summary["legs_finished"], 1);
  EXPECT_EQ(summary["legs"][0]["leg"], 1);
  EXPECT_EQ(summary["legs"][0]["seconds"], 0);
  EXPECT_EQ(summary["legs"][0]["total"], 700) << "base 100 and 600 s to spare";
  EXPECT_EQ(summary["best_totals"], nlohmann::ordered_json::array({700}));
  EXPECT_EQ(summary["overall"], 700);
}

}  // namespace
