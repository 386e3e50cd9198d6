#include "rally/race/targets/direction_test.h"

#include <gtest/gtest.h>

#include "rally/race/race_texts.h"
#include "tests/support/flight_test_support.h"

namespace {

using namespace flight;

TEST(DirectionTest, FortyDegreesEitherSideOfTheRequiredHeadingPass) {
  EXPECT_TRUE(PassesDirectionTest(7282, 0)) << "40.0012 degrees";
  EXPECT_FALSE(PassesDirectionTest(7283, 0));
  EXPECT_TRUE(PassesDirectionTest(58254, 0)) << "the other way round, across north";
  EXPECT_FALSE(PassesDirectionTest(58253, 0));
  EXPECT_TRUE(PassesDirectionTest(0, 58254)) << "and from the other side";
  EXPECT_TRUE(PassesDirectionTest(65535, 7281));
  EXPECT_FALSE(PassesDirectionTest(65535, 7282));
}

TEST(DirectionTest, HalfAroundIsTheWorstAndHeadingsFrom65536AcceptAll) {
  EXPECT_FALSE(PassesDirectionTest(32768, 0));
  EXPECT_FALSE(PassesDirectionTest(0, 32768));
  EXPECT_TRUE(PassesDirectionTest(32768 + 7282, 32768));
  EXPECT_TRUE(PassesDirectionTest(32768, 65536));
  EXPECT_TRUE(PassesDirectionTest(12345, 0x7FFFFFFF));
  EXPECT_FALSE(PassesDirectionTest(32768, 65535)) << "65535 is a heading, not 'any'";
  EXPECT_TRUE(PassesDirectionTest(65535, -1)) << "a negative field is the same 16-bit angle";
}

class DirectionInFlight : public Flight {};

TEST_F(DirectionInFlight, AGateWantsItsHeadingWithinTheTolerance) {
  Fly(CourseOf({LegOf({GateAt(1000, 0), GateAt(3000, 0)})}));
  StartFirstLeg();
  AtUnits(kLat + 1000, kLon);
  Heading(7283);
  Tick();
  EXPECT_EQ(race().record, race().target.record) << "not passed";
  EXPECT_EQ(m().alert.priority, race_timing::kWrongDirectionPriority);
  EXPECT_STREQ(m().alert.text, race_text::kWrongPassDirection);
  EXPECT_STREQ(m().alert.prompt, "ADV\\RALLY\\FailGateDir");
  const uint8_t* first_gate = race().record;

  Heading(7282);
  Tick();
  EXPECT_NE(race().record, first_gate) << "passed at 40 degrees";
  AtUnits(kLat + 3000, kLon);
  Heading(58254);
  Tick();
  EXPECT_EQ(race().state, kOutOfRace) << "the second gate passed at -40 degrees ends the leg";
}

TEST_F(DirectionInFlight, AWrongStartIsToldOnceAndAgainOnlyAfterNinetySeconds) {
  Fly(CourseOf({LegOf({GateAt(1000)}, LegEnd{100, 600, 1}, StartAt(kLat, 16384))}));
  ToggleRace(m());
  AtUnits(kLat, kLon);
  Heading(16384 + 7283);
  Tick();
  EXPECT_EQ(race().state, kArmed);
  EXPECT_EQ(TimesShown(race_text::kWrongPassDirection), 1);
  Tick(538);
  EXPECT_EQ(TimesShown(race_text::kWrongPassDirection), 1) << "held back for 90 seconds";
  Tick(1);
  EXPECT_EQ(TimesShown(race_text::kWrongPassDirection), 2);
  Heading(16384 - 7282);
  Tick();
  EXPECT_EQ(race().state, kLegRunning);
}

}  // namespace
