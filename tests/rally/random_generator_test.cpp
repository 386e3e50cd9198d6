#include "rally/state/random_generator.h"

#include <gtest/gtest.h>

TEST(RandomGenerator, DrawsTheWindowsRuntimeSequence) {
  // The first values the Windows C runtime's rand() gives after srand(1).
  RandomGenerator g{};
  SeedRandom(g, 1);
  EXPECT_EQ(NextRandom(g), 41);
  EXPECT_EQ(NextRandom(g), 18467);
  EXPECT_EQ(NextRandom(g), 6334);
  EXPECT_EQ(NextRandom(g), 26500);
  EXPECT_EQ(NextRandom(g), 19169);
}

TEST(RandomGenerator, StaysInRangeAcrossTheWholeStateSpace) {
  RandomGenerator g{};
  SeedRandom(g, 0xFFFFFFFFu);
  for (int i = 0; i < 10000; ++i) {
    int32_t v = NextRandom(g);
    ASSERT_GE(v, 0);
    ASSERT_LE(v, 32767);
  }
}
