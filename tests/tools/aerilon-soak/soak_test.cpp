#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "course_model/course_writer.h"
#include "rally/course/course_check.h"
#include "rally/module/entry_points.h"
#include "rally/module/lifecycle.h"
#include "sim/geodesy.h"
#include "tests/support/module_test_support.h"
#include "tools/aerilon-soak/course_generator.h"
#include "tools/aerilon-soak/soak.h"
#include "tools/aerilon-soak/soak_disturbances.h"
#include "tools/aerilon-soak/soak_geometry.h"

namespace {

// The module started under the soak's pilot and disturbances on one course.
struct SoakedModule {
  TempSimFolder folder;
  SoakRandom random;
  SoakCounts counts;
  std::unique_ptr<SoakModuleRun> run = std::make_unique<SoakModuleRun>();
  bool running = false;

  SoakedModule(const course_model::Course& course, uint32_t seed) : random(seed) {
    EXPECT_TRUE(WriteCourseFile(folder.File("Rally.DAT").string(), course));
    std::optional<SoakViolation> v =
        StartSoakModule(*run, folder.root.string(), seed, random, counts);
    EXPECT_FALSE(v.has_value()) << v->detail;
    running = !v.has_value();
  }
  ~SoakedModule() {
    if (running) StopSoakModule(*run);
  }
  std::optional<SoakViolation> Fly(int64_t ticks) {
    std::optional<SoakViolation> found;
    for (int64_t t = 0; t < ticks && !found; ++t) found = SoakTick(*run);
    return found;
  }
  RallyModule& m() { return LoadedModule(); }
};

std::string Describe(const std::optional<SoakViolation>& v) {
  return v ? v->invariant + ": " + v->detail : "none";
}

TEST(SoakRun, ShortSoakHoldsEveryInvariantAndMeetsTheCourses) {
  SoakOptions options;
  options.ticks = 20000;
  options.seed = 7;
  options.courses = 2;
  options.run_ticks = 5000;
  SoakReport report = RunSoak(options);
  ASSERT_FALSE(report.violation.has_value()) << report.where << ": " << Describe(report.violation);
  EXPECT_EQ(report.counts.ticks, 20000);
  EXPECT_EQ(report.counts.module_runs, 4);
  EXPECT_EQ(report.courses_flown, 3);
  EXPECT_GT(report.counts.legs_started, 0);
  EXPECT_GT(report.counts.targets_met, 0);
  EXPECT_GT(report.counts.dialogs_opened, 0);
  EXPECT_GT(report.counts.prompts_played, 0);
}

struct BrokenState {
  const char* what;
  const char* invariant;  // the check that must catch it
  std::function<void(SoakedModule&)> apply;
  bool after_shutdown = false;
};

const char kOutsideText[] = "fuori";

std::vector<BrokenState> BrokenStates() {
  return {
      {"six messages queued", "message queue", [](SoakedModule& s) { s.m().messages.count = 6; }},
      {"an unterminated message", "message queue",
       [](SoakedModule& s) {
         s.m().messages.count = 1;
         s.m().messages.countdown = 0;
         std::memset(s.m().messages.slots[0].text, 'x', kMessageTextBytes);
       }},
      {"a countdown running with nothing queued", "message queue",
       [](SoakedModule& s) {
         s.m().messages.count = 0;
         s.m().messages.countdown = 5;
       }},
      {"an alert held past its 90 seconds", "message queue",
       [](SoakedModule& s) { s.m().alert.hold_counter = kAlertHoldTicks; }},
      {"a sound the host holds for neither slot", "prompt slots",
       [](SoakedModule& s) {
         s.run->host.sounds.push_back(SimSound{4242, "ADV\\RALLY\\Start", false, 0, nullptr});
       }},
      {"a waiting prompt the host never loaded", "prompt slots",
       [](SoakedModule& s) { s.m().prompts.waiting = 999; }},
      {"a dialog left open", "dialogs", [](SoakedModule& s) { s.m().dialogs.open = true; }},
      {"the tick routine registered twice", "registrations",
       [](SoakedModule& s) {
         s.run->host.callbacks.push_back(SimCallback{kCallbackTick, s.m().frame.tick_routine});
       }},
      {"the window unhooked while the module runs", "registrations",
       [](SoakedModule& s) { s.run->host.window.window_proc = s.run->simulator_window_proc; }},
      {"a second popup in the bar", "registrations",
       [](SoakedModule& s) {
         uintptr_t popup = SimCreateMenu(s.run->menus);
         SimMenuItem item;
         item.text = "&Aerilon";
         item.submenu = popup;
         SimAppendItem(s.run->menus, s.run->menus.bar, item);
       }},
      {"more unasked questions than the course has", "score table",
       [](SoakedModule& s) { s.m().scores.unasked_count += 1; }},
      {"a balloon taken more often than it allows", "score table",
       [](SoakedModule& s) { s.m().scores.words[score::kTakeCounterWord + 1] = 4; }},
      {"a question marked wrong but never asked", "score table",
       [](SoakedModule& s) { s.m().scores.words[score::kQuizStateWord] = score::kQuizWrong; }},
      {"a percentage no counted take explains", "score table",
       [](SoakedModule& s) { s.m().scores.words[score::kPercentageWord] += 1; }},
      {"a best leg whose total is not its sum", "score table",
       [](SoakedModule& s) {
         s.m().scores.words[score::kLegScoreWord] = 500;
         s.m().scores.words[score::kLegScoreWord + score::kLegTotal] = 501;
       }},
      {"a best total on an entry that is no leg", "score table",
       [](SoakedModule& s) {
         s.m().scores.words[score::kLegScoreWord + 2 * score::kLegScoreWords] = 10;
         s.m().scores.words[score::kLegScoreWord + 2 * score::kLegScoreWords + score::kLegTotal] =
             10;
       }},
      {"a name slot outside the course and the pool", "score table",
       [](SoakedModule& s) { s.m().scores.name_slots[3] = kOutsideText; }},
      {"a race state beyond the near-object states", "race state",
       [](SoakedModule& s) { s.m().race.state = 7; }},
      {"a running leg whose record lies outside the course", "race state",
       [](SoakedModule& s) {
         s.m().race.state = kLegRunning;
         s.m().race.current_leg = 0;
         s.m().race.record = reinterpret_cast<const uint8_t*>(kOutsideText);
       }},
      {"a block the module does not own", "heap",
       [](SoakedModule& s) { s.run->heap.live.insert(kOutsideText); }},
      {"the course block freed twice", "heap",
       [](SoakedModule& s) { s.run->heap.frees_of_unknown_blocks = 1; }},
      {"a routine left registered at shutdown", "shutdown",
       [](SoakedModule& s) {
         s.run->host.callbacks.push_back(SimCallback{kCallbackTick, s.m().routines.engine_tick});
       },
       true},
      {"the window not given back at shutdown", "shutdown",
       [](SoakedModule& s) { s.run->host.window.window_proc = s.m().routines.main_window_proc; },
       true},
  };
}

TEST(SoakInvariants, EachCheckCatchesItsBrokenState) {
  for (const BrokenState& broken : BrokenStates()) {
    SCOPED_TRACE(broken.what);
    SoakedModule soaked(SampleCourse(), 3);
    ASSERT_FALSE(soaked.Fly(300).has_value());
    if (broken.after_shutdown) {
      ModuleDeinit(soaked.m());
      ASSERT_FALSE(CheckAfterShutdown(SceneOf(*soaked.run)).has_value());
    }
    broken.apply(soaked);
    std::optional<SoakViolation> found = broken.after_shutdown
                                             ? CheckAfterShutdown(SceneOf(*soaked.run))
                                             : CheckAfterTick(SceneOf(*soaked.run));
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->invariant, broken.invariant) << found->detail;
    if (broken.after_shutdown) {
      soaked.running = false;
      ResetLoadedModule();
    }
  }
}

TEST(SoakCourseGenerator, CoursesLoadInTheModuleAndTheFlightReachesThem) {
  SoakRandom random(11);
  for (int i = 0; i < 30; ++i) {
    std::vector<uint8_t> image = LayOutCourse(GenerateCourse(random));
    CourseCheck check = CheckCourseImage(image.data(), static_cast<uint32_t>(image.size()));
    EXPECT_EQ(check.problem, CourseProblem::kNone) << "course " << i << " at " << check.offset;
  }
  for (uint32_t seed = 1; seed <= 3; ++seed) {
    SoakRandom courses(seed);
    SoakedModule soaked(GenerateCourse(courses), seed);
    std::optional<SoakViolation> found = soaked.Fly(15000);
    EXPECT_FALSE(found.has_value()) << Describe(found);
    EXPECT_GT(soaked.counts.targets_met, 0) << "course of seed " << seed;
  }
}

// The pilot's flat-earth arithmetic against the host's own geodesy: the
// distances and bearings it steers by are the ones the module measures.
TEST(SoakGeometry, AgreesWithTheHostsDistanceAndBearing) {
  namespace geo = soak_geometry;
  struct Case {
    double lat_degrees, lon_degrees, north, east;
  };
  const Case cases[] = {{26.4, 170.5, 3000, 0},
                        {26.4, 170.5, 0, -4000},
                        {-54.0, -20.0, 2500, 2500},
                        {0.5, 11.0, -8000, 6000},
                        {54.9, 169.0, -500, -9000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lat_degrees);
    double lat = geo::LatitudeUnits(c.lat_degrees), lon = geo::LongitudeUnits(c.lon_degrees);
    double to_lat = lat + c.north * geo::LatitudeUnitsPerMetre();
    double to_lon = lon + c.east * geo::LongitudeUnitsPerMetre(lat);
    // Longitude words above 2^31 are western longitudes: the 64-bit value
    // wraps, so the word is taken as signed before it is scaled.
    auto fixed = [](double units) {
      return static_cast<int64_t>(std::remainder(units, 4294967296.0) * 4294967296.0);
    };
    uint32_t bearing = 0;
    int32_t distance = 0;
    SimDistanceAndBearing(HostPosition{fixed(lat), fixed(lon), 0},
                          HostPosition{fixed(to_lat), fixed(to_lon), 0}, &bearing, &distance);
    geo::Offset o = geo::OffsetBetween(lat, lon, to_lat, to_lon);
    double metres = geo::Length(o);
    EXPECT_NEAR(distance, metres, metres * 0.01 + 2);
    EXPECT_LE(std::abs(geo::AngleDifference(geo::BearingOf(o), static_cast<uint16_t>(bearing))),
              200);  // about a degree
  }
}

// One object near the island's first airfield, east of a start box; the
// pilot alone flies (no disturbances) until the race says it was met.
namespace pilot_case {
using namespace course_model;
namespace geo = soak_geometry;
constexpr int32_t kLat = 0x002CB9F3;
constexpr int32_t kLon = 0x79457C16;
constexpr int32_t kAny = 65536;

Box BoxAt(double north, double east, int32_t half) {
  int32_t lat = kLat + static_cast<int32_t>(north), lon = kLon + static_cast<int32_t>(east * 120);
  return Box{lat - half, lat + half, lon - half * 120, lon + half * 120};
}
Leg LegWith(LegRecord record) {
  return Leg{StartGate{BoxAt(0, 0, 400), 400, 150, 60 * 128, 200 * 128, kAny},
             {record},
             LegEnd{500, 900, 1}};
}
BonusObject BalloonAt(double east, int32_t inner_conditions) {
  return BonusObject{kLat,
                     kLon + static_cast<int32_t>(east * 120),
                     300,
                     {800, 800 * 120, 300, 0},
                     {400, 400 * 120, 150, 0},
                     {150, 150 * 120, 80, inner_conditions},
                     1 << 6,
                     0,
                     9,
                     0,
                     0,
                     10};
}
}  // namespace pilot_case

TEST(SoakPilot, MeetsEveryKindOfObject) {
  using namespace pilot_case;
  struct Case {
    const char* what;
    Course course;
  };
  auto leg = [](LegRecord r) {
    Course c;
    c.legs.push_back(LegWith(std::move(r)));
    return c;
  };
  auto balloon = [](int32_t conditions) {
    Course c;
    c.bonus_objects.push_back(BalloonAt(3000, conditions));
    return c;
  };
  const Case cases[] = {
      {"a gate crossed eastbound",
       leg(Gate{BoxAt(0, 4000, 300), 600, 150, 80 * 128, 140 * 128, 16384, "", ""})},
      {"a waypoint crossed southbound",
       leg(Waypoint{kLat - 3000, kLon + 2000 * 120, 400, 500, 200, 32768, "", ""})},
      {"a landing northbound", leg(Landing{BoxAt(3000, 3000, 600), 40, 0, "", ""})},
      {"a balloon taken in flight", balloon(0)},
      {"a balloon taken on the ground", balloon(4)},
      {"a balloon taken standing still", balloon(1)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    SoakedModule soaked(c.course, 5);
    RallyModule& m = soaked.m();
    bool met = false;
    for (int t = 0; t < 20000 && !met; ++t) {
      if (FlyOneTick(soaked.run->pilot, m, soaked.random, soaked.run->host.state)) {
        DeliverSlot(*soaked.run, 0);
      }
      SimRunTick(soaked.run->host);
      met = m.race.score_pending || TakeCounter(m.scores, 0) > 0;
    }
    EXPECT_TRUE(met);
  }
}

// A failure is reproduced from the seed the tool prints.
TEST(SoakRun, TheSameSeedFliesTheSameSoak) {
  SoakOptions options;
  options.ticks = 12000;
  options.seed = 21;
  options.courses = 1;
  options.run_ticks = 4000;
  SoakReport first = RunSoak(options), second = RunSoak(options);
  EXPECT_EQ(first.counts.legs_started, second.counts.legs_started);
  EXPECT_EQ(first.counts.targets_met, second.counts.targets_met);
  EXPECT_EQ(first.counts.dialogs_opened, second.counts.dialogs_opened);
  EXPECT_EQ(first.counts.prompts_played, second.counts.prompts_played);
}

}  // namespace
