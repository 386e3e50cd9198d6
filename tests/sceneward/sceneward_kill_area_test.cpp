#include "sceneward/script/kill_area.h"

#include <gtest/gtest.h>

namespace {

const KillArea kArea{100, 500, 300, 200};  // west, north, east, south

TEST(SceneryKillArea, PointsOnAnEdgeAreOutside) {
  EXPECT_TRUE(PointInKillArea(kArea, 201, 101));
  EXPECT_TRUE(PointInKillArea(kArea, 499, 299));
  EXPECT_FALSE(PointInKillArea(kArea, 200, 150));  // south edge
  EXPECT_FALSE(PointInKillArea(kArea, 500, 150));  // north edge
  EXPECT_FALSE(PointInKillArea(kArea, 300, 100));  // west edge
  EXPECT_FALSE(PointInKillArea(kArea, 300, 300));  // east edge
}

TEST(SceneryKillArea, BoxesThatOnlyTouchDoNotOverlap) {
  // north, south, east, west of the file's box
  EXPECT_TRUE(BoxOverlapsBounds(600, 400, 200, 50, kArea));
  EXPECT_FALSE(BoxOverlapsBounds(200, 100, 300, 100, kArea));  // touches the south edge
  EXPECT_FALSE(BoxOverlapsBounds(700, 500, 300, 100, kArea));  // touches the north edge
  EXPECT_FALSE(BoxOverlapsBounds(500, 200, 100, 0, kArea));    // touches the west edge
  EXPECT_FALSE(BoxOverlapsBounds(500, 200, 400, 300, kArea));  // touches the east edge
}

TEST(SceneryKillArea, DefaultBoundsOverlapNothing) {
  const KillArea no_area{2147483647, -2147483647 - 1, -2147483647 - 1, 134217727};
  EXPECT_FALSE(
      BoxOverlapsBounds(2147483647, -2147483647 - 1, 2147483647, -2147483647 - 1, no_area));
}

}  // namespace
