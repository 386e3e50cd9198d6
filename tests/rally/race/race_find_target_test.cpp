#include "rally/race/targets/find_target.h"

#include <gtest/gtest.h>

#include "rally/ui/message_commands.h"
#include "tests/support/flight_test_support.h"

namespace {

using namespace flight;

TEST(BoxMiddle, KeepsTheHalfUnitAndTheHemisphere) {
  EXPECT_EQ(BoxMiddle(10, 11), (int64_t{21} << 31)) << "10.5 units";
  EXPECT_EQ(BoxMiddle(-11, -10), -(int64_t{21} << 31));
  EXPECT_EQ(BoxMiddle(kLon - 6000, kLon + 6000), FromUpperWord(kLon))
      << "two eastern longitudes whose sum passes 2^31";
  EXPECT_EQ(BoxMiddle(-0x40000000, -0x3FFFF000), FromUpperWord(-0x3FFFF800))
      << "a western box keeps its middle in the west";
  EXPECT_EQ(BoxMiddle(-100, 300), FromUpperWord(100)) << "across the zero meridian";
}

class FindTarget : public Flight {};

TEST_F(FindTarget, AGateIsAimedAtTheMiddleOfItsBoxWithItsOwnWarning) {
  Gate gate{Box{kLat + 1000, kLat + 1001, kLon - 10, kLon + 13},
            450,
            50,
            0,
            1000 * kKnots,
            kAnyHeading,
            "Porta tre",
            "ADV\\RALLY\\Tre"};
  Fly(CourseOf({LegOf({gate, GateAt(5000)})}));
  StartFirstLeg();
  const Target& t = race().target;
  ASSERT_TRUE(t.exists);
  EXPECT_EQ(t.position.latitude, (int64_t{2} * kLat + 2001) << 31);
  EXPECT_EQ(t.position.longitude, FromUpperWord(kLon) + (int64_t{3} << 31));
  EXPECT_EQ(t.position.altitude, FromUpperWord(450));
  EXPECT_STREQ(t.warning_text, "Porta tre");
  EXPECT_STREQ(t.warning_voice, "ADV\\RALLY\\Tre");
  // Found with the distance to the target's own altitude; the check of the
  // same tick then measures at the aircraft's altitude.
  uint32_t bearing = 0;
  int32_t slant = 0;
  SimDistanceAndBearing(SimAircraftPosition(host_.state), t.position, &bearing, &slant);
  std::vector<const SimCall*> measured = SimCallsNamed(host_, "distance_and_bearing");
  ASSERT_EQ(measured.size(), 2u);
  EXPECT_EQ(measured[0]->args[1], slant);
  EXPECT_GT(slant, measured[1]->args[1]);
  EXPECT_EQ(t.last_distance, measured[1]->args[1]);
  EXPECT_EQ(t.smallest_distance, measured[1]->args[1]);
}

TEST_F(FindTarget, WaypointsAndLandingsTakeTheirPointsAndWarnings) {
  Fly(CourseOf({LegOf({Message{3, "prima", ""}, TrackStart{kLat, kLon, 0, 0, 0, 2}, TrackEnd{},
                       Collectible{0, 1, "X"}, QuizTimer{5},
                       Waypoint{kLat + 900, kLon + 50, 100, 275, 50, kAnyHeading, "Punto", ""},
                       Landing{Box{kLat + 3000, kLat + 3100, kLon, kLon + 2}, 12, kAnyHeading, "",
                               "ADV\\RALLY\\Pista"}})}));
  StartFirstLeg();
  const Target& t = race().target;
  EXPECT_EQ(t.position.latitude, FromUpperWord(kLat + 900)) << "found past five other records";
  EXPECT_EQ(t.position.longitude, FromUpperWord(kLon + 50));
  EXPECT_EQ(t.position.altitude, FromUpperWord(275));
  EXPECT_STREQ(t.warning_text, "Punto");
  EXPECT_TRUE(IsNoneReference(m().course, t.warning_voice));

  AtUnits(kLat + 900, kLon + 50, 275);
  Tick();
  EXPECT_EQ(t.position.latitude, FromUpperWord(kLat + 3050));
  EXPECT_EQ(t.position.longitude, FromUpperWord(kLon + 1));
  EXPECT_EQ(t.position.altitude, FromUpperWord(12)) << "the landing's own altitude";
  EXPECT_TRUE(IsNoneReference(m().course, t.warning_text));
  EXPECT_STREQ(t.warning_voice, "ADV\\RALLY\\Pista");
}

TEST_F(FindTarget, PastTheLastTargetThereIsNoneAndItsPositionStays) {
  Fly(CourseOf({LegOf({GateAt(2000, kAnyHeading, "Ultima"), Message{3, "fine", ""}})}));
  StartFirstLeg();
  HostPosition last = race().target.position;
  AtUnits(kLat + 2000, kLon);
  Tick();
  ASSERT_EQ(race().state, kOutOfRace);
  EXPECT_FALSE(race().target.exists);
  EXPECT_EQ(race().target.position.latitude, last.latitude);
  EXPECT_STREQ(race().target.warning_text, "Ultima");
  size_t queued = Waiting().size();
  race().state = kLegRunning;  // the readout needs a target, not only a leg
  ShowNextFixInfo(m());
  EXPECT_EQ(Waiting().size(), queued);
}

TEST_F(FindTarget, TheSearchStopsAtTheEndOfTheImage) {
  Fly(CourseOf({LegOf({GateAt(2000)})}));
  race().target.exists = true;
  // The last word of the image: a search from there finds no whole record.
  FindNextTarget(m(), CourseStart(m().course) + m().course.size - 4);
  EXPECT_FALSE(race().target.exists);
  FindNextTarget(m(), CourseStart(m().course) + m().course.size);
  EXPECT_FALSE(race().target.exists);
}

}  // namespace
