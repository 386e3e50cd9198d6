#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "course_generator.h"
#include "module_test_support.h"
#include "rally/course/course_check.h"
#include "rally/module/entry_points.h"
#include "rally/module/lifecycle.h"
#include "soak.h"

namespace {

// The module started under the soak's pilot and disturbances on one course.
struct SoakedModule {
  TempSimFolder folder;
  SoakRandom random;
  SoakCounts counts;
  std::unique_ptr<SoakModuleRun> run = std::make_unique<SoakModuleRun>();
  bool running = false;

  SoakedModule(const course_source::Course& course, uint32_t seed) : random(seed) {
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
      {"a waiting prompt the host never loaded", "prompt slots",
       [](SoakedModule& s) { s.m().prompts.waiting = 999; }},
      {"a dialog left open", "dialogs", [](SoakedModule& s) { s.m().dialogs.open = true; }},
      {"the tick routine registered twice", "registrations",
       [](SoakedModule& s) {
         s.run->host.callbacks.push_back(SimCallback{kCallbackTick, s.m().frame.tick_routine});
       }},
      {"more unasked questions than the course has", "score table",
       [](SoakedModule& s) { s.m().scores.unasked_count += 1; }},
      {"a balloon taken more often than it allows", "score table",
       [](SoakedModule& s) { s.m().scores.words[score::kTakeCounterWord + 1] = 4; }},
      {"a name slot outside the course and the pool", "score table",
       [](SoakedModule& s) { s.m().scores.name_slots[3] = kOutsideText; }},
      {"a race state beyond the near-object states", "race state",
       [](SoakedModule& s) { s.m().race.state = 7; }},
      {"a block the module does not own", "heap",
       [](SoakedModule& s) { s.run->heap.live.insert(kOutsideText); }},
      {"a routine left registered at shutdown", "shutdown",
       [](SoakedModule& s) {
         s.run->host.callbacks.push_back(SimCallback{kCallbackTick, s.m().routines.engine_tick});
       },
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

}  // namespace
