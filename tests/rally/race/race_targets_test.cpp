#include <gtest/gtest.h>

#include "rally/race/race_texts.h"

#include "tests/support/flight_test_support.h"

namespace {

using namespace flight;

class Targets : public Flight {
 protected:
  const uint8_t* first_target_ = nullptr;
  void Begin(std::vector<LegRecord> records) {
    Fly(CourseOf({LegOf(std::move(records))}));
    StartFirstLeg();
    first_target_ = race().record;
  }
  bool StillAtFirstTarget() { return race().record == first_target_; }
};

TEST_F(Targets, AGateIsPassedOnEveryBoundOfItsBoxAndNotOneUnitOutside) {
  // Latitude 1000 to 1100 m north, altitude 250 to 350 m, 80 to 120 knots.
  Gate gate{Box{kLat + 1000, kLat + 1100, kLon - 6000, kLon + 6000},
            300,
            50,
            80 * kKnots,
            120 * kKnots,
            kAnyHeading,
            "",
            ""};
  Begin({gate, GateAt(5000)});
  struct Miss {
    int32_t lat, lon, alt, speed;
    const char* why;
  } misses[] = {
      {kLat + 999, kLon + 6000, 350, 120 * kKnots, "one unit south"},
      {kLat + 1101, kLon - 6000, 250, 80 * kKnots, "one unit north"},
      {kLat + 1000, kLon + 6001, 350, 120 * kKnots, "one unit east"},
      {kLat + 1000, kLon - 6001, 350, 120 * kKnots, "one unit west"},
      {kLat + 1000, kLon + 6000, 351, 120 * kKnots, "a metre above the band"},
      {kLat + 1000, kLon + 6000, 249, 120 * kKnots, "a metre below the band"},
      {kLat + 1000, kLon + 6000, 350, 120 * kKnots + 1, "too fast"},
      {kLat + 1100, kLon + 6000, 350, 80 * kKnots - 1, "too slow"},
  };
  for (const Miss& miss : misses) {
    AtUnits(miss.lat, miss.lon, miss.alt);
    Speed(miss.speed);
    Tick();
    EXPECT_TRUE(StillAtFirstTarget()) << miss.why;
  }
  AtUnits(kLat + 1100, kLon - 6000, 250);
  Speed(80 * kKnots);
  Tick();
  EXPECT_FALSE(StillAtFirstTarget()) << "every value on a bound";
  EXPECT_EQ(m().alert.priority, 0) << "a box missed raises nothing";
}

TEST_F(Targets, AWaypointAtExactlyItsRadiusIsNotPassed) {
  Begin({Waypoint{kLat + 2000, kLon, 200, kAlt, 30, kAnyHeading, "", ""}, GateAt(5000)});
  int64_t point = FromUpperWord(kLat + 2000);
  At(NorthOf(point, -200), FromUpperWord(kLon));
  Tick();
  EXPECT_TRUE(StillAtFirstTarget()) << "200 m from a 200 m radius";
  At(NorthOf(point, -199), FromUpperWord(kLon), kAlt + 31);
  Tick();
  EXPECT_TRUE(StillAtFirstTarget()) << "inside, but above the band";
  At(NorthOf(point, -199), FromUpperWord(kLon), kAlt - 30);
  Tick();
  EXPECT_TRUE(StillAtFirstTarget()) << "the band is measured in slant distance too: 199 m and 30 m";
  At(NorthOf(point, -190), FromUpperWord(kLon), kAlt - 30);
  Tick();
  EXPECT_FALSE(StillAtFirstTarget()) << "inside the radius and on the band's edge";
}

TEST_F(Targets, AWaypointPassedTheWrongWayWarnsWithoutAVoice) {
  Begin({Waypoint{kLat + 2000, kLon, 200, kAlt, 30, 0, "", ""}, GateAt(5000)});
  AtUnits(kLat + 2000, kLon);
  Heading(32768);
  Tick();
  EXPECT_TRUE(StillAtFirstTarget());
  EXPECT_STREQ(m().alert.text, race_text::kWrongPassDirection);
  EXPECT_EQ(m().alert.prompt, nullptr);
  ASSERT_EQ(Waiting().size(), 2u) << "queued behind the leg's start";
  EXPECT_EQ(Waiting()[1], race_text::kWrongPassDirection);
  EXPECT_EQ(m().messages.slots[1].prompt, nullptr);
}

class Landings : public Targets {
 protected:
  void SetUp() override {
    Targets::SetUp();
    Begin({Landing{BoxAround(kLat + 3000, kLon, 100), 20, 0, "Atterra", ""}, GateAt(9000)});
    AtUnits(kLat + 3000, kLon);
    OnGround(true);
  }
};

TEST_F(Landings, TwelveGroundTicksInsideTheBoxLand) {
  Tick(11);
  EXPECT_TRUE(StillAtFirstTarget());
  EXPECT_EQ(race().landing_dwell, 11);
  Tick();
  EXPECT_FALSE(StillAtFirstTarget());
  EXPECT_EQ(race().landing_dwell, 0);
}

TEST_F(Landings, ABounceStartsTheCountAgainAndRollingOutSidewaysHoldsIt) {
  Tick(11);
  OnGround(false);
  Tick();
  EXPECT_EQ(race().landing_dwell, 0) << "one airborne tick";
  OnGround(true);
  Tick(10);
  AtUnits(kLat + 3000, kLon + 101 * kLonUnitsPerMetre);
  Tick(5);
  EXPECT_EQ(race().landing_dwell, 10) << "outside the box: neither reset nor counted";
  OnGround(false);
  Tick();
  EXPECT_EQ(race().landing_dwell, 10) << "not even by leaving the ground";
  OnGround(true);
  AtUnits(kLat + 3000, kLon);
  Tick();
  EXPECT_TRUE(StillAtFirstTarget());
  Tick();
  EXPECT_FALSE(StillAtFirstTarget()) << "the twelfth ground tick inside";
}

TEST_F(Landings, AWrongDirectionIsToldAndTestedAgainAfterTwelveMoreGroundTicks) {
  Heading(16384);
  Tick(12);
  EXPECT_TRUE(StillAtFirstTarget());
  EXPECT_STREQ(m().alert.text, race_text::kWrongLandingDirection);
  EXPECT_STREQ(m().alert.prompt, "ADV\\RALLY\\FailLandDir");
  EXPECT_EQ(race().landing_dwell, 0);
  Heading(0);
  Tick(11);
  EXPECT_TRUE(StillAtFirstTarget()) << "a right heading waits for its own 12 ticks";
  Tick();
  EXPECT_FALSE(StillAtFirstTarget());
}

TEST_F(Landings, TheDwellCountIsNotResetByANewLeg) {
  Tick(5);
  ToggleRace(m());
  ASSERT_EQ(race().state, kOutOfRace);
  ToggleRace(m());
  AtUnits(kLat, kLon);
  Tick();
  ASSERT_EQ(race().state, kLegRunning);
  EXPECT_EQ(race().landing_dwell, 5);
}

}  // namespace
