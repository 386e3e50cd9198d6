#include <gtest/gtest.h>

#include "tests/support/flight_test_support.h"

namespace {

using namespace flight;

const QuizQuestion kQuestion{"Domanda?", "Giusta", "Seconda", "Terza", 10};

class LegRecords : public Flight {};

TEST_F(LegRecords, ACollectibleWithoutANameShowsAnEmptyOneAndRemembersNothing) {
  FlyPatched(CourseOf({LegOf({Collectible{6, 15, "Senza"}, GateAt(2000)})}),
             [](course_test::Bytes& image) {
               uint32_t item = course_test::FindRecord(image, 0, course::kCollectible);
               course_test::SetWord(image, item + course::collectible::kName, 0);
             });
  StartFirstLeg();
  EXPECT_EQ(Waiting().back(), "RACCOLTA! \"\", 15 punti");
  EXPECT_STREQ(m().messages.slots[1].prompt, "ADV\\RALLY\\Bonus");
  EXPECT_EQ(NameSlot(m().scores, 6), nullptr);
  EXPECT_EQ(race().score.bonus, 15);
}

// Slots 0 to 19 remember the name; any other slot still scores and is told.
// The course writer refuses such slots, so they are patched into the image.
class CollectibleSlot : public Flight, public ::testing::WithParamInterface<int32_t> {};

TEST_P(CollectibleSlot, ScoresAndIsToldButOnlySlotsZeroToNineteenRememberTheName) {
  const int32_t slot = GetParam();
  FlyPatched(CourseOf({LegOf({Collectible{0, 15, "Faro"}, GateAt(2000)})}),
             [slot](course_test::Bytes& image) {
               uint32_t item = course_test::FindRecord(image, 0, course::kCollectible);
               course_test::SetWord(image, item + course::collectible::kNameSlot, slot);
             });
  StartFirstLeg();
  EXPECT_EQ(Waiting().back(), "RACCOLTA! \"Faro\", 15 punti");
  EXPECT_EQ(race().score.bonus, 15);
  int remembered = 0;
  for (int32_t k = 0; k < score::kNameSlots; ++k) remembered += NameSlot(m().scores, k) != nullptr;
  EXPECT_EQ(remembered, slot >= 0 && slot < score::kNameSlots ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(NameSlots, CollectibleSlot, ::testing::Values(19, 20, -1, INT32_MIN));

TEST_F(LegRecords, AQuizTimerCountsInTicksAndALaterOneReplacesIt) {
  Fly(CourseOf({LegOf({QuizTimer{20}, GateAt(1000), QuizTimer{3}, GateAt(2000)})}, {},
               {kQuestion}));
  StartFirstLeg();
  EXPECT_EQ(race().quiz_countdown, 20 * 6 - 1) << "set, then counted once by this tick";
  AtUnits(kLat + 1000, kLon);
  Tick();
  EXPECT_EQ(race().quiz_countdown, 3 * 6 - 1);
}

TEST_F(LegRecords, AQuizTimerNeedsQuestionsAndARunThatCounts) {
  Fly(CourseOf({LegOf({QuizTimer{20}, GateAt(2000)})}));
  StartFirstLeg();
  EXPECT_EQ(race().quiz_countdown, 0) << "the course has no questions";
}

TEST_F(LegRecords, AQuizTimerOnARunThatCannotCountAsksNothing) {
  ScoresWithTotals({0});
  Fly(CourseOf({LegOf({GateAt(2000)}),
                LegOf({QuizTimer{20}, GateAt(12000)}, LegEnd{}, StartAt(kLat + 10000))},
               {}, {kQuestion}));
  ToggleRace(m());
  AtUnits(kLat + 10000, kLon);
  Tick();
  ASSERT_EQ(race().valid_run, 0);
  EXPECT_EQ(race().quiz_countdown, 0);
}

TEST_F(LegRecords, ANegativeQuizDelaySchedulesNothing) {
  FlyPatched(CourseOf({LegOf({QuizTimer{20}, GateAt(2000)})}, {}, {kQuestion}),
             [](course_test::Bytes& image) {
               uint32_t timer = course_test::FindRecord(image, 0, course::kQuizTimer);
               course_test::SetWord(image, timer + course::quiz_timer::kDelay, -5);
             });
  race().quiz_countdown = 7;
  StartFirstLeg();
  EXPECT_EQ(race().quiz_countdown, 0);
}

}  // namespace
