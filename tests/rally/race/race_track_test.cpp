#include "rally/race/targets/precision_track.h"

#include <gtest/gtest.h>

#include <cstring>

#include "rally/ui/message_commands.h"
#include "tests/support/flight_test_support.h"

namespace {

using namespace flight;

// The reference point lies north-east of the start; the aircraft waits in
// the start box, so the bearing it measures to the point is fixed and the
// radial can be chosen relative to it.
constexpr int32_t kRefLat = kLat + 3000;
constexpr int32_t kRefLon = kLon + 3000 * kLonUnitsPerMetre;

uint16_t BearingFromStartToReference() {
  uint32_t bearing = 0;
  int32_t distance = 0;
  SimDistanceAndBearing(
      HostPosition{FromUpperWord(kLat), FromUpperWord(kLon), FromUpperWord(kAlt)},
      HostPosition{FromUpperWord(kRefLat), FromUpperWord(kRefLon), FromUpperWord(kAlt)}, &bearing,
      &distance);
  return static_cast<uint16_t>(bearing);
}

struct TrackCase {
  int32_t bearing_minus_radial;
  int32_t tolerance;
  int32_t weight;
  int32_t precision;
  const char* why;
};

class TrackPenalty : public Flight, public ::testing::WithParamInterface<TrackCase> {};

TEST_P(TrackPenalty, TheLargestDeviationBeyondTheToleranceCostsItsDegreesTimesTheWeight) {
  const TrackCase& c = GetParam();
  uint16_t radial = static_cast<uint16_t>(BearingFromStartToReference() - c.bearing_minus_radial);
  Fly(CourseOf(
      {LegOf({TrackStart{kRefLat, kRefLon, radial, c.tolerance, c.weight, 2}, GateAt(2000)})}));
  StartFirstLeg();
  Tick(10);
  AtUnits(kLat + 2000, kLon);
  Tick();
  ASSERT_EQ(race().state, kOutOfRace);
  EXPECT_EQ(race().score.precision, c.precision) << c.why;
  EXPECT_FALSE(race().track.active) << "closed by the LegEnd";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrackPenalty,
    ::testing::Values(
        TrackCase{910 + 182, 910, 10, -9, "1820 x -0.00549... = -9.997 truncates to -9"},
        TrackCase{-(910 + 182), 910, 10, -9, "the other side of the radial"},
        TrackCase{910 + 182, -910, -10, -9, "tolerance and weight count by their size"},
        TrackCase{910, 910, 10, 0, "on the tolerance is not beyond it"},
        TrackCase{0, 0, 10, 0, "on the radial"},
        TrackCase{32768, 0, 10, 0, "the exact opposite bearing is on the line"},
        TrackCase{32768 - 364, 0, 10, -19, "flying away from the point, 2 degrees off"},
        TrackCase{16385, 0, 1000, -89989, "just past a right angle: 32767 - 16385 = 16382"},
        TrackCase{16384, 0, 1000, -90000, "a right angle: 16384 units, 90 degrees"}));

class Tracks : public Flight {};

TEST_F(Tracks, TheLargestDeviationOfAllTicksCounts) {
  uint16_t bearing = BearingFromStartToReference();
  Fly(CourseOf({LegOf({TrackStart{kRefLat, kRefLon, bearing, 0, 1, 2}, GateAt(2000)})}));
  StartFirstLeg();
  EXPECT_EQ(race().track.largest_deviation, 0);
  AtUnits(kLat + 100, kLon);  // further west of the line: the bearing turns east
  Tick();
  int32_t off = race().track.largest_deviation;
  EXPECT_GT(off, 0);
  AtUnits(kLat + 10, kLon);
  Tick();
  EXPECT_EQ(race().track.largest_deviation, off) << "a smaller deviation changes nothing";
}

class NearZoneSelector : public Flight, public ::testing::WithParamInterface<int32_t> {};

TEST_P(NearZoneSelector, ThreeKeepsTheNearZoneOfTheTrackBefore) {
  int32_t selector = GetParam();
  // The second track's point is about 1000 m north of the start, and its
  // radial points east: waiting at the start is 90 degrees off.
  FlyPatched(CourseOf({LegOf({TrackStart{kRefLat, kRefLon, 0, 0, 1, 0}, TrackEnd{},
                              TrackStart{kLat + 1000, kLon, 16384, 0, 1, 2}, GateAt(2000)})}),
             [selector](course_test::Bytes& image) {
               uint32_t second_track = course_test::LegRecords(image, 0)[3];
               course_test::SetWord(image, second_track + course::track_start::kNearZone, selector);
             });
  StartFirstLeg();
  AtUnits(kLat + 2000, kLon);
  Tick();
  ASSERT_EQ(race().state, kOutOfRace);
  if (selector == 3) {
    EXPECT_EQ(race().track.near_zone, 1852);
    EXPECT_EQ(race().score.precision, 0) << "1000 m is inside the 1852 m kept";
  } else {
    EXPECT_EQ(race().track.near_zone, 10);
    EXPECT_EQ(race().score.precision, -90) << "measured: 90 degrees off";
  }
}

INSTANTIATE_TEST_SUITE_P(Selectors, NearZoneSelector, ::testing::Values(3, 2));

TEST_F(Tracks, ATrackStartClosesTheTrackBeforeIt) {
  uint16_t bearing = BearingFromStartToReference();
  Fly(CourseOf(
      {LegOf({TrackStart{kRefLat, kRefLon, static_cast<uint16_t>(bearing - 1092), 0, 10, 2},
              GateAt(1000), TrackStart{kRefLat, kRefLon, 0, 0, 0, 2}, GateAt(4000)})}));
  StartFirstLeg();
  AtUnits(kLat + 1000, kLon);
  Tick();
  EXPECT_EQ(race().score.precision, -59) << "10920 x -0.00549... = -59.98";
  EXPECT_TRUE(race().track.active) << "the second track runs";
}

TEST_F(Tracks, ATrackLeftOpenByAnAbortedLegIsNotChargedToTheNextLeg) {
  Leg second = LegOf({GateAt(22000)}, LegEnd{100, 600, 1}, StartAt(kLat + 20000));
  Fly(CourseOf({LegOf({TrackStart{kRefLat, kRefLon, 0, 0, 100, 2}, GateAt(2000)}), second}));
  StartFirstLeg();
  ASSERT_GT(race().track.largest_deviation, 0);
  ToggleRace(m());
  ToggleRace(m());
  AtUnits(kLat + 20000, kLon);
  Tick();
  ASSERT_EQ(race().current_leg, 1);
  EXPECT_FALSE(race().track.active);
  AtUnits(kLat + 22000, kLon);
  Tick();
  ASSERT_EQ(race().state, kOutOfRace);
  EXPECT_EQ(race().score.precision, 0);
}

TEST(TrackFactor, IsTheDegreeFactorOfTheNextFixReadoutNegated) {
  EXPECT_EQ(kPenaltyPerHeadingUnit, -NextFixDegreeFactor());
  uint64_t bits;
  std::memcpy(&bits, &kPenaltyPerHeadingUnit, sizeof bits);
  EXPECT_EQ(bits, 0xBF7680000000009Bull);
}

}  // namespace
