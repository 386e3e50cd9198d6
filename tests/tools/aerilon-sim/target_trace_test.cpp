#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <variant>
#include <vector>

#include "course_model/course_writer.h"
#include "rally/module/entry_points.h"
#include "tests/support/flight_test_support.h"
#include "tools/aerilon-sim/run_loop.h"
#include "tools/aerilon-sim/target_trace.h"

// aerilon-sim --trace targets: a one-target leg flown into its target at
// tick 50 with one condition wrong at a time, out of it at tick 60 and
// crashed at tick 70; the trace names the target, the condition that
// failed, and whether it was met.
namespace {

using namespace flight;

constexpr int32_t kNorth = 500;  // the target's distance from the start box, metres

struct Case {
  const char* name;
  LegRecord target;
  int32_t alt, knots, heading;
  bool on_ground;
  std::vector<std::string> texts;  // the human trace lines, in order
};

Gate SlowGate() {
  Gate g = GateAt(kNorth);
  g.speed_min = 150 * kKnots;
  return g;
}

// The waypoint's distance counts the height too: 120 m below it is 120 m away.
Waypoint WaypointAt(int32_t metres_beyond, int32_t radius) {
  return Waypoint{kLat + kNorth + metres_beyond, kLon, radius, kAlt, 100, kAnyHeading, "", ""};
}

Landing LandingAt() {
  return Landing{BoxAround(kLat + kNorth, kLon, 50), kAlt, 0, "", ""};
}

const char* const kAborted =
    " not met: the leg was aborted (a crash, slew, jump or the pilot's abort)";

const Case kCases[] = {
    {"all hold",
     GateAt(kNorth),
     kAlt,
     100,
     0,
     false,
     {"gate 1.1 inside the box at tick 50; holds: altitude speed heading", "gate 1.1 met"}},
    {"too high",
     GateAt(kNorth),
     700,
     100,
     0,
     false,
     {"gate 1.1 inside the box at ticks 50 to 59; altitude 700 m, wanted 0 to 600 m; holds: speed "
      "heading",
      std::string("gate 1.1") + kAborted +
          "; last inside the box at ticks 50 to 59; altitude 700 m, wanted 0 to 600 m; holds: "
          "speed "
          "heading"}},
    {"too slow",
     SlowGate(),
     kAlt,
     100,
     0,
     false,
     {"gate 1.1 inside the box at ticks 50 to 59; speed 100 kn, wanted 150 to 1000 kn; holds: "
      "altitude heading",
      std::string("gate 1.1") + kAborted +
          "; last inside the box at ticks 50 to 59; speed 100 kn, wanted 150 to 1000 kn; holds: "
          "altitude heading"}},
    {"wrong way",
     GateAt(kNorth, 0),
     kAlt,
     100,
     32768,
     false,
     {"gate 1.1 inside the box at ticks 50 to 59; heading 180 degrees off, wanted at most 40; "
      "holds: altitude speed",
      std::string("gate 1.1") + kAborted +
          "; last inside the box at ticks 50 to 59; heading 180 degrees off, wanted at most 40; "
          "holds: altitude speed"}},
    {"waypoint missed",
     WaypointAt(100, 20),
     kAlt,
     100,
     0,
     false,
     {std::string("waypoint 1.1") + kAborted + "; never inside it"}},
    {"waypoint too low",
     WaypointAt(0, 150),
     180,
     100,
     0,
     false,
     {"waypoint 1.1 within the radius at ticks 50 to 59; altitude 180 m, wanted 200 to 400 m; "
      "holds: heading",
      std::string("waypoint 1.1") + kAborted +
          "; last within the radius at ticks 50 to 59; altitude 180 m, wanted 200 to 400 m; holds: "
          "heading"}},
    {"landing airborne",
     LandingAt(),
     kAlt,
     100,
     0,
     false,
     {"landing 1.1 inside the box at ticks 50 to 59; airborne, wanted on the ground; holds: "
      "heading",
      std::string("landing 1.1") + kAborted +
          "; last inside the box at ticks 50 to 59; airborne, wanted on the ground; holds: "
          "heading"}},
};

std::string State(int64_t tick, int32_t lat, int32_t alt, int32_t knots, int32_t heading,
                  bool ground) {
  return "{\"tick\":" + std::to_string(tick) + ",\"state\":{\"lat\":" + std::to_string(lat) +
         ",\"lon\":" + std::to_string(kLon) + ",\"alt\":" + std::to_string(alt) +
         ",\"speed\":" + std::to_string(knots * kKnots) +
         ",\"heading\":" + std::to_string(heading) +
         ",\"on_ground\":" + (ground ? "true" : "false") + "}}\n";
}

TEST(TargetTrace, SaysWhichConditionOfTheTargetFailed) {
  for (const Case& c : kCases) {
    TempSimFolder folder;
    ASSERT_TRUE(WriteCourseFile(folder.Path("Rally.DAT"), CourseOf({LegOf({c.target})})));
    RunSetup setup;
    setup.root = folder.root.string();
    setup.trace_targets = true;
    std::string flight = "{\"tick\":2,\"command\":\"enter\"}\n" +
                         State(40, kLat, kAlt, 100, 0, false) +
                         State(50, kLat + kNorth, c.alt, c.knots, c.heading, c.on_ground) +
                         State(60, kLat + kNorth + 200, c.alt, c.knots, c.heading, false) +
                         "{\"tick\":70,\"state\":{\"crashed\":true}}\n{\"tick\":80,\"end\":true}\n";
    ASSERT_FALSE(ParseFlightScript(flight, setup.flight)) << c.name;
    std::vector<std::string> texts;
    RunFlight(setup, [&](const TranscriptLine& line) {
      if (line.contains("trace")) texts.push_back(TraceText(line["trace"]));
    });
    EXPECT_EQ(texts, c.texts) << c.name;
    ResetLoadedModule();
  }
}

}  // namespace

namespace {

// The sample flight finishes leg 1: the trace meets each of the leg's
// targets once, in the course's order, and nothing is left unmet; the
// largest deviation judged tick by tick is the one the track closes with,
// and its penalty is the leg's precision score.
TEST(TargetTrace, TheSampleFlightMeetsEveryTargetOfItsLegInOrder) {
  TempSimFolder folder;
  course_model::Course course = SampleCourse();
  ASSERT_TRUE(WriteCourseFile(folder.Path("Rally.DAT"), course));
  RunSetup setup;
  setup.root = folder.root.string();
  setup.seed = 1998;
  setup.trace_targets = true;
  std::ifstream in(std::string(AERILON_SOURCE_DIR) + "/examples/sample_flight.jsonl");
  std::string flight((std::istreambuf_iterator<char>(in)), {});
  ASSERT_FALSE(ParseFlightScript(flight, setup.flight));
  std::vector<std::string> met, not_met;
  int64_t legs_finished = 0;
  double judged_largest = 0;
  std::vector<TranscriptLine> closed;
  RunFlight(setup, [&](const TranscriptLine& line) {
    if (line.contains("summary")) legs_finished = line["summary"]["legs_finished"];
    if (!line.contains("trace")) return;
    const TranscriptLine& trace = line["trace"];
    if (trace.contains("judged"))
      judged_largest = std::max(judged_largest, trace["deviation"][1].get<double>());
    if (trace.contains("closed")) closed.push_back(trace);
    if (!trace.contains("met")) return;
    (trace["met"] ? met : not_met).push_back(trace["target"]);
  });
  int32_t precision = LoadedModule().race.score.precision;
  ResetLoadedModule();
  ASSERT_EQ(closed.size(), 1u);
  EXPECT_EQ(closed[0]["track"], "track 1.1");
  EXPECT_DOUBLE_EQ(closed[0]["largest"].get<double>(), judged_largest);
  EXPECT_EQ(closed[0]["penalty"], precision);
  EXPECT_LT(precision, 0);
  std::vector<std::string> targets;
  for (const LegRecord& record : course.legs[0].records) {
    const char* kind = std::holds_alternative<Gate>(record)       ? "gate"
                       : std::holds_alternative<Waypoint>(record) ? "waypoint"
                       : std::holds_alternative<Landing>(record)  ? "landing"
                                                                  : nullptr;
    if (kind != nullptr) targets.push_back(kind + (" 1." + std::to_string(targets.size() + 1)));
  }
  EXPECT_EQ(legs_finished, 1);
  EXPECT_EQ(met, targets);
  EXPECT_TRUE(not_met.empty());
}

}  // namespace
