// Every heap block the module takes, refused in turn: the course at start-up,
// the score file's names at start-up, and the names again when a leg without
// points reloads the score file. The module stays inert or goes on without
// the names, the score file never loses what it holds, and shutdown leaves
// no block and no routine behind.
#include <gtest/gtest.h>

#include "course_model/course_writer.h"
#include "tests/support/flight_test_support.h"

namespace {

using namespace flight;

struct RefusedBlock {
  int allocation;  // 1-based; 0 refuses none
  const char* block;
  bool runs;             // the module starts and flies the legs
  int32_t best_on_disk;  // the first leg's, at the end
};

void PrintTo(const RefusedBlock& c, std::ostream* out) {
  *out << "allocation " << c.allocation << " (" << c.block << ")";
}

class AllocationFailure : public Flight, public ::testing::WithParamInterface<RefusedBlock> {
 protected:
  // Arms, starts leg `leg`, flies through its gate after `ticks` ticks, then
  // waits until its messages and its summary are done.
  void FlyLeg(int32_t leg, int ticks) {
    ToggleRace(m());
    AtUnits(kLat + 10000 * leg, kLon);
    Tick(ticks);
    AtUnits(kLat + 10000 * leg + 2000, kLon);
    Tick();
    Park();
    Tick(300);
  }
};

TEST_P(AllocationFailure, LeavesTheModuleInertOrWithoutNamesAndTheScoreFileWhole) {
  const RefusedBlock& c = GetParam();
  Course course = CourseOf({LegOf({GateAt(2000)}, LegEnd{100, 600, 1}, StartAt(kLat)),
                            LegOf({GateAt(12000)}, LegEnd{0, 0, 1}, StartAt(kLat + 10000))});
  course_test::Bytes image = LayOutCourse(course);
  ScrambleWords(image.data(), static_cast<uint32_t>(image.size()));
  folder_.WriteBytes("Rally.DAT", image);
  ScoresWithTotals({}, {"Alfa", "Bravo"});
  heap_.fail_allocation = c.allocation;

  ASSERT_EQ(ModuleInit(m()), c.runs ? 1 : 0);
  Ticks(kStartupDelayTicks + 1);
  Speed(kCruise);
  if (c.runs) {
    FlyLeg(0, 60);  // 690 points, a best
    FlyLeg(1, 1);   // no points: the score file is read again
    FlyLeg(0, 1);   // 700 points, a better best
  }
  ModuleDeinit(m());

  EXPECT_EQ(heap_.allocations, c.runs ? 3 : 1) << "every block of the run was asked for";
  EXPECT_TRUE(heap_.live.empty()) << "every block is freed";
  EXPECT_TRUE(host_.callbacks.empty()) << "no routine stays registered";
  EXPECT_EQ(host_.window.window_proc, 0x00405000u) << "the simulator's own procedure";
  DiskScores disk = ScoresOnDisk();
  EXPECT_EQ(disk.names[0], "Alfa");
  EXPECT_EQ(disk.names[1], "Bravo");
  EXPECT_EQ(disk.BestTotal(0), c.best_on_disk);
}

// A best is written only while the names are held; the reload after the
// leg without points drops a best that was not written.
INSTANTIATE_TEST_SUITE_P(
    EachBlock, AllocationFailure,
    ::testing::Values(RefusedBlock{0, "none", true, 700}, RefusedBlock{1, "course", false, 0},
                      RefusedBlock{2, "names at start-up", true, 700},
                      RefusedBlock{3, "names read again after a leg", true, 690}),
    [](const ::testing::TestParamInfo<RefusedBlock>& info) {
      return "Allocation" + std::to_string(info.param.allocation);
    });

}  // namespace
