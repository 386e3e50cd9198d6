#include "rally/race/bonus/bonus_object.h"
#include "rally/ui/message_queue.h"

#include <gtest/gtest.h>

#include "rally/race/bonus/bonus_award.h"
#include "rally/race/race_texts.h"
#include "rally/race/tick_tail.h"
#include "tests/support/flight_test_support.h"

namespace {

using namespace flight;

constexpr int32_t kCentreLat = kLat + 5000;

// Boxes of 1000, 500 and 100 m either side (altitude 500, 250, 100 m),
// available in condition 0, worth 20 points, 3 takes in slot 4.
BonusObject ObjectAt(int32_t lat = kCentreLat) {
  BonusObject b{};
  b.lat = lat;
  b.lon = kLon;
  b.alt = kAlt;
  b.outer = BonusBox{1000, 1000 * kLonUnitsPerMetre, 500, 0};
  b.middle = BonusBox{500, 500 * kLonUnitsPerMetre, 250, 0};
  b.inner = BonusBox{100, 100 * kLonUnitsPerMetre, 100, 0};
  b.flags = 1 << kFirstConditionBit;
  b.counter_slot = 4;
  b.max_takes = 3;
  b.normal_value = 20;
  return b;
}

// The generator state from which the next draw is r.
uint32_t StateBeforeDraw(int32_t r) {
  uint32_t inverse = 214013u;  // Newton's iteration for the inverse modulo 2^32
  for (int i = 0; i < 5; ++i) inverse *= 2u - 214013u * inverse;
  return ((static_cast<uint32_t>(r) << 16) - 2531011u) * inverse;
}

class BonusObjects : public Flight {
 protected:
  void FlyObjects(std::vector<BonusObject> objects) {
    Fly(CourseOf({LegOf({GateAt(-20000)}, LegEnd{100, 600, 1}, StartAt(kLat - 30000))},
                 std::move(objects)));
  }
  // `metres` north of the centre of the object at `lat`.
  void NorthOfCentre(int32_t metres, int32_t lat = kCentreLat) { AtUnits(lat + metres, kLon); }
  // Arms from the outer box, then flies to the middle.
  void Approach(int32_t lat = kCentreLat) {
    NorthOfCentre(700, lat);
    Tick();
    ASSERT_EQ(race().state, kNearObjectOuter);
    NorthOfCentre(300, lat);
    Tick();
    ASSERT_EQ(race().state, kNearObjectMiddle);
  }
  int32_t Points() { return ScoreBonusPoints(m().scores); }
};

TEST_F(BonusObjects, AreArmedOnlyFromInsideTheOuterButOutsideTheMiddleBox) {
  FlyObjects({ObjectAt()});
  NorthOfCentre(300);
  Tick();
  EXPECT_EQ(race().state, kOutOfRace) << "first seen inside the middle box";
  NorthOfCentre(0);
  Tick();
  EXPECT_EQ(race().state, kOutOfRace) << "and not from the inner box either";
  EXPECT_EQ(Points(), 0);
  NorthOfCentre(1001);
  Tick();
  EXPECT_EQ(race().state, kOutOfRace) << "outside the outer box";
  NorthOfCentre(1000);
  Tick();
  EXPECT_EQ(race().state, kNearObjectOuter) << "on its bound";
  EXPECT_EQ(UpperWord(race().target.position.latitude), kCentreLat);
  EXPECT_EQ(race().target.warning_text, nullptr);
  NorthOfCentre(500);
  Tick();
  EXPECT_EQ(race().state, kNearObjectOuter) << "the middle box's bound is outside it";
  NorthOfCentre(499);
  Tick();
  EXPECT_EQ(race().state, kNearObjectMiddle);
  NorthOfCentre(99);
  Tick();
  EXPECT_EQ(race().state, kOutOfRace) << "awarded";
  EXPECT_EQ(Points(), 20);
  EXPECT_EQ(TakeCounter(m().scores, 4), 1);
  ASSERT_EQ(Waiting(), std::vector<std::string>{"BONUS! Hai guadagnato 20 PUNTI!"});
  EXPECT_STREQ(m().messages.slots[0].prompt, "ADV\\RALLY\\Bonus");
  EXPECT_EQ(m().messages.slots[0].display_ticks, 36);
  DiskScores disk = ScoresOnDisk();
  EXPECT_EQ(disk.words[score::kBonusPointsWord], 20) << "written at once";
  EXPECT_EQ(disk.words[score::kTakeCounterWord + 4], 1);
  Tick(5);
  EXPECT_EQ(race().state, kOutOfRace) << "not again from inside the middle box";
}

TEST_F(BonusObjects, LeavingTheOuterBoxEndsOutOfTheRaceEvenWhenArmedBefore) {
  FlyObjects({ObjectAt()});
  ToggleRace(m());
  Approach();
  NorthOfCentre(2000);
  Tick();
  EXPECT_EQ(race().state, kOutOfRace);
  EXPECT_EQ(Points(), 0);
}

TEST_F(BonusObjects, ExistOnlyInTheConditionsTheirFlagsName) {
  BonusObject b = ObjectAt();
  b.flags = 1 << (kFirstConditionBit + 2);
  FlyObjects({b});
  SetSimConditionIndex(host_.state, 0);
  NorthOfCentre(700);
  Tick();
  EXPECT_EQ(race().state, kOutOfRace);
  SetSimConditionIndex(host_.state, 2);
  Tick();
  EXPECT_EQ(race().state, kNearObjectOuter);
  SetSimConditionIndex(host_.state, 200);
  NorthOfCentre(2000);
  Tick();
  NorthOfCentre(700);
  Tick();
  EXPECT_EQ(race().state, kOutOfRace) << "a condition beyond the flag bits names no object";
}

TEST_F(BonusObjects, TheOuterConditionsRefuseArming) {
  BonusObject b = ObjectAt();
  b.outer.conditions = kRefusedMoving | kRefusedOnGround;
  FlyObjects({b});
  NorthOfCentre(700);
  Tick();
  EXPECT_EQ(race().state, kOutOfRace) << "moving";
  Speed(0);
  OnGround(true);
  Tick();
  EXPECT_EQ(race().state, kOutOfRace) << "on the ground";
  OnGround(false);
  Tick();
  EXPECT_EQ(race().state, kNearObjectOuter);
}

TEST_F(BonusObjects, ARefusalInTheInnerBoxWaitsThereAndOneInTheMiddleBoxDropsOut) {
  BonusObject b = ObjectAt();
  b.inner.conditions = kRefusedMoving;
  b.middle.conditions = kRefusedOnGround;
  FlyObjects({b});
  Approach();
  NorthOfCentre(0);
  Tick(3);
  EXPECT_EQ(race().state, kNearObjectInner) << "still moving: waits";
  EXPECT_EQ(Points(), 0);
  Speed(0);
  Tick();
  EXPECT_EQ(race().state, kOutOfRace);
  EXPECT_EQ(Points(), 20);

  Speed(kCruise);
  Approach();
  OnGround(true);
  Tick();
  EXPECT_EQ(race().state, kOutOfRace) << "refused in the middle box";
  OnGround(false);
  Tick();
  EXPECT_EQ(race().state, kOutOfRace) << "approached again only from outside the middle box";
}

TEST_F(BonusObjects, TwoObjectsOnOneCounterShareItsMaximum) {
  BonusObject first = ObjectAt();
  first.max_takes = 1;
  BonusObject second = ObjectAt(kCentreLat + 10000);
  second.max_takes = 1;
  second.normal_value = 30;
  FlyObjects({first, second});
  Approach();
  NorthOfCentre(0);
  Tick();
  ASSERT_EQ(Points(), 20);
  Tick(40);
  ClearMessages(m());

  Approach(kCentreLat + 10000);
  NorthOfCentre(0, kCentreLat + 10000);
  Tick();
  EXPECT_EQ(race().state, kOutOfRace) << "entered and left without effect";
  EXPECT_EQ(Points(), 20);
  EXPECT_EQ(TakeCounter(m().scores, 4), 1);
  EXPECT_TRUE(Waiting().empty());
}

TEST_F(BonusObjects, ADrawnZeroIsAnnouncedAsAMalusAndChangesNothing) {
  BonusObject b = ObjectAt();
  b.normal_value = 0;
  FlyObjects({b});
  Approach();
  NorthOfCentre(0);
  Tick();
  ASSERT_EQ(Waiting(), std::vector<std::string>{"MALUS! Hai PERSO 0 PUNTI!"});
  EXPECT_STREQ(m().messages.slots[0].prompt, "ADV\\RALLY\\Malus");
  EXPECT_EQ(Points(), 0);
  EXPECT_EQ(TakeCounter(m().scores, 4), 1) << "the take still counts";
}

TEST_F(BonusObjects, APercentageObjectChangesThePercentage) {
  BonusObject up = ObjectAt();
  up.flags |= kPercentageValue;
  up.normal_value = 5;
  BonusObject down = up;
  down.lat = kCentreLat + 10000;
  down.normal_value = -3;
  FlyObjects({up, down});
  Approach();
  NorthOfCentre(0);
  Tick();
  EXPECT_EQ(ScorePercentage(m().scores), 105);
  EXPECT_EQ(Waiting().back(), "BONUS! Hai ricevuto un INCREMENTO del 5% del punteggio!");
  Approach(kCentreLat + 10000);
  NorthOfCentre(0, kCentreLat + 10000);
  Tick();
  EXPECT_EQ(ScorePercentage(m().scores), 102);
  EXPECT_EQ(Waiting().back(), "MALUS! Hai ricevuto una PENALIT\xC0 del 3% del punteggio!");
  EXPECT_EQ(Points(), 0);
}

struct DrawCase {
  int32_t r;
  int32_t probability;
  int32_t points;
};

class BonusDraw : public BonusObjects, public ::testing::WithParamInterface<DrawCase> {};

TEST_P(BonusDraw, TheAlternativeValueIsTakenWhenTheDrawnPercentIsBelowTheProbability) {
  const DrawCase& c = GetParam();
  BonusObject b = ObjectAt();
  b.alternative_percent = c.probability;
  b.alternative_value = 50;
  FlyObjects({b});
  Approach();
  m().random.state = StateBeforeDraw(c.r);
  RandomGenerator check{m().random.state};
  ASSERT_EQ(NextRandom(check), c.r);
  NorthOfCentre(0);
  Tick();
  EXPECT_EQ(Points(), c.points);
}

INSTANTIATE_TEST_SUITE_P(Draws, BonusDraw,
                         ::testing::Values(DrawCase{32767, 100, 20},  // p = 100
                                           DrawCase{32766, 100, 50},  // p = 99
                                           DrawCase{0, 100, 50},
                                           DrawCase{0, 0, 20},       // never with probability 0
                                           DrawCase{16384, 50, 20},  // p = 50
                                           DrawCase{16383, 50, 50}));

TEST_F(BonusObjects, FlyingAwayInTheOuterBoxRaisesASilentWarning) {
  FlyObjects({ObjectAt()});
  NorthOfCentre(600);
  Tick();
  ASSERT_EQ(race().state, kNearObjectOuter);
  while ((race().tick_count & kDistanceCheckMask) != 0) Tick();
  NorthOfCentre(900);
  Tick(8);
  EXPECT_EQ(race().state, kNearObjectOuter);
  EXPECT_EQ(m().alert.priority, race_timing::kFlyingAwayPriority);
  EXPECT_GT(m().alert.hold_counter, 0) << "no other warning for 90 seconds";
  EXPECT_TRUE(Waiting().empty()) << "nothing to show";
}

TEST_F(BonusObjects, AnAwardCountsInMemoryWhenTheScoreFileCannotBeWritten) {
  FlyObjects({ObjectAt()});
  m().platform.open_write = [](void*, const char*) -> FileHandle { return nullptr; };
  Approach();
  NorthOfCentre(0);
  Tick();
  EXPECT_EQ(Points(), 20);
  EXPECT_EQ(TakeCounter(m().scores, 4), 1);
  EXPECT_EQ(Waiting(), std::vector<std::string>{"BONUS! Hai guadagnato 20 PUNTI!"});
  EXPECT_FALSE(ScoreFileExists());
}

}  // namespace
