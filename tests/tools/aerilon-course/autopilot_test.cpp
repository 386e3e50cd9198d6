#include "tools/aerilon-course/fly/autopilot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "course_model/course_writer.h"
#include "tools/aerilon-course/fly/aircraft_files.h"
#include "tools/aerilon-course/fly/aircraft_motion.h"
#include "tools/aerilon-course/fly/approach_guide.h"
#include "tools/aerilon-course/fly/fly_document.h"
#include "tools/aerilon-course/fly/fly_findings.h"
#include "tools/aerilon-course/load_course_document.h"
#include "tools/aerilon-course/source/source_reader.h"
#include "tools/aerilon-sim/flight_writer.h"
#include "tools/aerilon-sim/sample_folder.h"

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// `text` with the first `from` made `to`; the test fails where there is none.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

CourseDocument Source(const std::string& text) {
  CourseDocument document;
  std::vector<Diagnostic> problems;
  EXPECT_TRUE(ReadCourseSource(text, "test.toml", &document, &problems))
      << (problems.empty() ? "" : FormatDiagnostic(problems.front()));
  return document;
}

struct FlownCourse {
  FlyResult result;
  std::vector<std::string> transcript;  // every line, as JSON text
};

FlownCourse Fly(const CourseDocument& document,
                const AircraftLimits& aircraft = DefaultAircraft()) {
  FlownCourse flown;
  FlyOptions options;
  options.aircraft = aircraft;
  flown.result = FlyCourseDocument(document, options, [&flown](const TranscriptLine& line) {
    flown.transcript.push_back(line.dump());
  });
  return flown;
}

// The autopilot's flight, written out and read back, flown by the plain
// run loop as aerilon-sim flies a script.
std::vector<std::string> Replay(const CourseDocument& document, const FlyResult& result) {
  std::string text;
  for (const FlightLine& line : result.flight.lines) text += FlightLineText(line) + "\n";
  RunSetup setup;
  EXPECT_EQ(ParseFlightScript(text, setup.flight), std::nullopt);
  SampleFolder folder(EncodeCourseFile(document.course));
  setup.root = folder.root().string();
  setup.seed = 1;
  setup.calendar_time = kFlyCalendarTime;
  setup.trace_targets = true;
  std::vector<std::string> transcript;
  RunFlight(setup,
            [&transcript](const TranscriptLine& line) { transcript.push_back(line.dump()); });
  return transcript;
}

// Every example course is flown to the end of every leg inside its
// allowance, every target met with room to spare in each condition, every
// quiz question answered right; and the flight written out flies again to
// the very same transcript.
TEST(Autopilot, FliesEveryExampleCourseInsideItsAllowanceAndItsFlightReplays) {
  for (const char* name : {"sample_course", "island_tour", "first_course"}) {
    SCOPED_TRACE(name);
    CourseDocument document =
        Source(ReadText(std::string(AERILON_SOURCE_DIR) + "/examples/" + name + ".toml"));
    FlownCourse flown = Fly(document);
    ASSERT_EQ(flown.result.legs.size(), document.course.legs.size());
    for (const FlownLeg& leg : flown.result.legs) {
      SCOPED_TRACE("leg " + std::to_string(leg.leg + 1));
      EXPECT_TRUE(leg.finished) << leg.why_not;
      EXPECT_LE(leg.seconds, leg.allowance);
      EXPECT_GT(leg.score.total, 0);
      EXPECT_EQ(leg.score.precision, 0) << "the tracks were held";
      for (const FlownTarget& t : leg.targets) {
        SCOPED_TRACE(t.name);
        ASSERT_TRUE(t.met) << t.why;
        for (const char* room : {"inside_m", "altitude_m", "speed_kn"}) {
          if (t.margin.contains(room)) {
            EXPECT_GE(t.margin[room].get<double>(), 0) << room;
          }
        }
        EXPECT_LE(t.margin["heading_off"].get<double>(), 40.0);
      }
      for (const std::string& quiz : leg.quiz)
        EXPECT_NE(quiz.find("answered \""), std::string::npos) << quiz;
    }
    size_t right = 0;
    for (const std::string& line : flown.transcript) {
      EXPECT_EQ(line.find("SBAGLIATA"), std::string::npos) << line;
      right += line.find("BENE! Risposta CORRETTA!") != std::string::npos;
    }
    size_t asked = 0;
    for (const course_model::Leg& leg : document.course.legs) {
      for (const course_model::LegRecord& r : leg.records) {
        asked += std::holds_alternative<course_model::QuizTimer>(r);
      }
    }
    EXPECT_EQ(right, asked) << "every question asked answered right";
    EXPECT_EQ(Replay(document, flown.result), flown.transcript);
  }
}

// A copy of the sample course's first leg with one thing made impossible,
// and what the checker's flight must say of it.
TEST(Autopilot, AnImpossibleLegIsToldWithItsTargetAndCondition) {
  const std::string course =
      ReadText(std::string(AERILON_SOURCE_DIR) + "/examples/sample_course.toml");
  struct Case {
    const char* what;
    const char* from;
    const char* to;
    std::vector<std::string> told;
  } cases[] = {
      {"a gate at 10,000 ft",
       "altitude = \"400 m\"\naltitude_tolerance = \"150 m\"",
       "altitude = 10000\naltitude_tolerance = 300",
       {"error", "over its allowance", "gate 1.1", "to climb"}},
      {"a speed range no light aircraft flies",
       "speed_min = 80\nspeed_max = 180",
       "speed_min = 300\nspeed_max = 400",
       {"error", "cannot finish", "gate 1.1", "speed 175 kn, wanted 300 to 400 kn"}},
      {"an allowance of 10 s",
       "time_allowance = \"15 min\"",
       "time_allowance = \"10 s\"",
       {"error", "over its allowance of 10 s"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CourseDocument document = Source(Replaced(course, c.from, c.to));
    std::vector<Diagnostic> findings =
        FlightFindings(document, Fly(document).result, DefaultAircraft());
    ASSERT_FALSE(findings.empty());
    std::string told = FormatDiagnostic(findings.front());
    EXPECT_EQ(findings.front().line > 0, true) << told;
    for (const std::string& part : c.told) EXPECT_NE(told.find(part), std::string::npos) << told;
  }
}

// Whatever it is asked, the aircraft turns, climbs, sinks and changes
// speed no faster than its limits; it leaves the ground after its take-off
// roll and stops within its landing roll.
TEST(AircraftMotion, NeverGoesBeyondItsLimits) {
  const double dt = 1.0 / 6;
  for (const char* name : {"light_single", "aerobatic", "business_jet"}) {
    SCOPED_TRACE(name);
    AircraftLimits l = *BuiltInAircraft(name);
    FlyingAircraft a;
    a.position = LatLon{26, 170};
    MotionCommand takeoff;
    double rolled = 0;
    while (a.on_ground) {
      LatLon before = a.position;
      StepAircraft(a, takeoff, l, dt);
      rolled += Length(OffsetBetween(before, a.position));
      ASSERT_LT(rolled, 2 * l.takeoff_roll_m);
    }
    EXPECT_NEAR(rolled, l.takeoff_roll_m, 0.1 * l.takeoff_roll_m);
    const MotionCommand asks[] = {{180, 3000, 1000, false, {}},
                                  {0, 0, 0, false, {}},
                                  {90, 1500, l.cruise_speed_kt, false, {}}};
    for (const MotionCommand& ask : asks) {
      for (int step = 0; step < 600; ++step) {
        FlyingAircraft before = a;
        StepAircraft(a, ask, l, dt);
        ASSERT_LE(std::fabs(AngleBetween(a.heading_deg, before.heading_deg)),
                  l.max_turn_rate_dps * dt + 1e-9);
        ASSERT_LE(a.altitude_m - before.altitude_m,
                  l.climb_rate_fpm * kMetresPerFoot / 60 * dt + 1e-9);
        ASSERT_LE(before.altitude_m - a.altitude_m,
                  l.descent_rate_fpm * kMetresPerFoot / 60 * dt + 1e-9);
        ASSERT_LE(std::fabs(a.speed_kt - before.speed_kt), l.acceleration_kt_s * dt + 1e-9);
        ASSERT_LE(a.speed_kt, l.max_speed_kt);
        ASSERT_FALSE(a.on_ground) << "it never lands unasked";
      }
      EXPECT_GE(a.speed_kt, l.min_speed_kt - 1e-9);
    }
    a.on_ground = true;
    a.speed_kt = l.approach_speed_kt;
    MotionCommand brake;
    brake.stay_on_ground = true;
    brake.heading_deg = a.heading_deg;
    rolled = 0;
    while (a.speed_kt > 0) {
      LatLon before = a.position;
      StepAircraft(a, brake, l, dt);
      rolled += Length(OffsetBetween(before, a.position));
    }
    EXPECT_NEAR(rolled, l.landing_roll_m, 0.1 * l.landing_roll_m);
  }
}

// Each mistake in an aircraft file is told at its line.
TEST(AircraftFile, EachMistakeIsToldAtItsLine) {
  const std::string good = kLightSingleAircraft;
  struct Case {
    const char* from;
    const char* to;
    int line;
    const char* message;
  } cases[] = {
      {"cruise_speed_kt = 140", "cruise_sped_kt = 140", 0,
       "unknown key \"cruise_sped_kt\"; did you mean \"cruise_speed_kt\"?"},
      {"max_bank_deg = 30", "max_bank_deg = 95", 0,
       "\"max_bank_deg\" must be a number from 5 to 80"},
      {"climb_rate_fpm = 900", "climb_rate_fpm = \"fast\"", 0,
       "\"climb_rate_fpm\" must be a number from 100 to 20000"},
      {"approach_speed_kt = 70", "approach_speed_kt = 50", 0,
       "the approach speed is below the slowest it flies (min_speed_kt)"},
      {"landing_roll_m = 190\n", "", 1, "\"landing_roll_m\" is missing"},
      {"name = ", "name = [1] #", 0, "\"name\" must be a text"},
  };
  std::string path = testing::TempDir() + "/aircraft.toml";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.to);
    std::string text = Replaced(good, c.from, c.to);
    size_t at = good.find(c.from);
    std::ofstream(path) << text;
    std::vector<Diagnostic> problems;
    EXPECT_FALSE(ReadAircraftFile(path, &problems));
    ASSERT_FALSE(problems.empty());
    int line = c.line;
    if (line == 0) line = 1 + static_cast<int>(std::count(text.begin(), text.begin() + at, '\n'));
    EXPECT_EQ(problems.front().line, line);
    EXPECT_EQ(problems.front().message, c.message);
  }
  std::ofstream(path) << good;
  std::vector<Diagnostic> none;
  std::optional<AircraftLimits> read = ReadAircraftFile(path, &none);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->cruise_speed_kt, DefaultAircraft().cruise_speed_kt);
}

TEST(FlyOptions, LegListsAndAircraftNames) {
  std::string error;
  EXPECT_EQ(ParseLegList("all", 3, &error), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(ParseLegList("3,1", 3, &error), (std::vector<int>{2, 0}));
  for (const char* bad : {"0", "4", "1,,2", "x", "1.5", ""}) {
    EXPECT_EQ(ParseLegList(bad, 3, &error), std::nullopt) << bad;
  }
  std::vector<Diagnostic> problems;
  EXPECT_FALSE(ChooseAircraft("jumbo", &problems));
  ASSERT_EQ(problems.size(), 1u);
  EXPECT_NE(problems[0].message.find("light_single, aerobatic, business_jet"), std::string::npos);
  EXPECT_TRUE(ChooseAircraft("aerobatic", &problems));
}

// What the autopilot writes reads back as the same line.
TEST(FlightWriter, LinesReadBackAsWritten) {
  const char* lines[] = {
      R"({"tick":3,"state":{"lat":2931187,"lon":2034596881,"alt":-5,"speed":66,"heading":65535,"on_ground":1,"crashed":0,"slew":0,"pause":0}})",
      R"({"tick":4,"command":"position:8"})",
      R"({"tick":5,"answer":{"quiz":2}})",
      R"({"tick":6,"answer":{"summary":"exit"}})",
      R"({"tick":7,"event":65725})",
      R"({"tick":8,"end":true})",
  };
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\n";
  FlightScript flight;
  ASSERT_EQ(ParseFlightScript(text, flight), std::nullopt);
  ASSERT_EQ(flight.lines.size(), std::size(lines));
  for (size_t i = 0; i < flight.lines.size(); ++i)
    EXPECT_EQ(FlightLineText(flight.lines[i]), lines[i]);
}

}  // namespace

namespace {

// From every side and heading, the guide brings each aircraft through a
// gate in its band and direction, at most once round.
TEST(ApproachGuide, FliesThroughAGateFromAnySide) {
  Crossing gate;
  gate.centre = LatLon{26.4, 170.5};
  gate.along_half_m = 200;
  gate.altitude_m = 600;
  gate.band_half_m = 100;
  gate.course_deg = 90;
  struct Start {
    double east_km, north_km, heading, altitude;
  } starts[] = {
      {-10, 0, 90, 600},  // on the line, on its way
      {-5, 6, 180, 300},  // off to one side, heading across
      {3, 0, 90, 600},    // past it already
      {8, -2, 270, 900},  // ahead, coming the wrong way
      {0, 0, 0, 600},     // in the gate, across it
  };
  for (const char* name : {"light_single", "aerobatic", "business_jet"}) {
    AircraftLimits limits = *BuiltInAircraft(name);
    gate.speed_kt = gate.speed_low_kt = gate.speed_high_kt = ManoeuvringSpeed(limits);
    for (const Start& s : starts) {
      SCOPED_TRACE(std::string(name) + " from " + std::to_string(s.east_km) + ", " +
                   std::to_string(s.north_km));
      FlyingAircraft a;
      a.position = Moved(gate.centre, EastNorth{s.east_km * 1000, s.north_km * 1000});
      a.heading_deg = s.heading;
      a.altitude_m = s.altitude;
      a.speed_kt = gate.speed_kt;
      a.on_ground = false;
      ApproachGuide guide(limits);
      guide.Begin();
      bool through = false;
      for (int tick = 0; tick < 6 * 900 && !through; ++tick) {
        StepAircraft(a, guide.Command(a, gate), limits, 1.0 / 6);
        EastNorth from = OffsetBetween(gate.centre, a.position);
        through = std::fabs(from.east) <= gate.along_half_m && std::fabs(from.north) <= 200 &&
                  std::fabs(a.altitude_m - gate.altitude_m) <= gate.band_half_m &&
                  std::fabs(AngleBetween(a.heading_deg, *gate.course_deg)) <= 40;
      }
      EXPECT_TRUE(through) << "not through the gate in 15 minutes";
      EXPECT_LE(guide.passes(), 1);
    }
  }
}

}  // namespace

namespace {

// A course file may list a bonus object before its legs: the module then
// numbers the legs by their entries, and the findings still point at the
// right leg of the source.
TEST(Autopilot, LegsAreTheModulesEntriesAndFindingsTheSourcesLegs) {
  CourseDocument document =
      Source(ReadText(std::string(AERILON_SOURCE_DIR) + "/examples/sample_course.toml"));
  using course_model::EntrySlot;
  document.course.entry_order = {EntrySlot{EntrySlot::kBonusObject, 0},
                                 EntrySlot{EntrySlot::kLeg, 0}, EntrySlot{EntrySlot::kLeg, 1}};
  document.course.legs[1].end.time_allowance = 10;
  FlyResult result = Fly(document).result;
  ASSERT_EQ(result.legs.size(), 2u);
  EXPECT_EQ(result.legs[0].leg, 1);
  EXPECT_EQ(result.legs[1].leg, 2);
  EXPECT_TRUE(result.legs[0].finished && result.legs[1].finished);
  std::vector<Diagnostic> findings = FlightFindings(document, result, DefaultAircraft());
  ASSERT_EQ(findings.size(), 1u);
  EXPECT_EQ(findings[0].line, document.legs[1].end.line);
  EXPECT_EQ(findings[0].message.rfind("leg 3: the autopilot", 0), 0u) << findings[0].message;
}

}  // namespace
