#include "rally/race/engine_tick.h"
#include "rally/ui/message_queue.h"

#include <gtest/gtest.h>

#include "rally/race/race_texts.h"
#include "rally/race/tick_tail.h"
#include "tests/support/flight_test_support.h"

namespace {

using namespace flight;

class EngineTicks : public Flight {};

TEST_F(EngineTicks, PauseAndSuspendStopTimeAndTheMessages) {
  Fly(CourseOf({LegOf({GateAt(2000)})}));
  StartFirstLeg();
  int32_t countdown = m().messages.countdown;
  SetSimPauseFlag(host_.state, 1);
  Tick(10);
  SetSimPauseFlag(host_.state, 0);
  SetSimSuspendFlag(host_.state, 1);
  Tick(10);
  EXPECT_EQ(race().tick_count, 0);
  EXPECT_EQ(m().messages.countdown, countdown);
  SetSimSuspendFlag(host_.state, 0);
  Flight::Tick();
  EXPECT_EQ(race().tick_count, 1);
  EXPECT_EQ(m().messages.countdown, countdown - 1);
}

struct AbortCase {
  int32_t state;
  bool crash;          // else slew
  const char* notice;  // shown at once, or null
  const char* voice;
  bool reset;
};

class AbortInEveryState : public Flight, public ::testing::WithParamInterface<AbortCase> {};

TEST_P(AbortInEveryState, CrashResetsAlwaysSlewOnlyInTheRaceNoticeOnlyInALeg) {
  const AbortCase& c = GetParam();
  Fly(CourseOf({LegOf({GateAt(2000)})}));
  StartFirstLeg();
  race().state = c.state;  // the abort paths look at nothing else
  QueueMessage(m(), "in attesa", nullptr, 4);
  size_t shown_before = Shown().size();
  if (c.crash) {
    SetSimCrashed(host_.state, 1);
  } else {
    SetSimSlewActive(host_.state, 1);
  }
  Flight::Tick();
  std::vector<std::string> all = Shown();
  std::vector<std::string> shown(all.begin() + static_cast<long>(shown_before), all.end());
  if (c.notice != nullptr) {
    ASSERT_EQ(shown, std::vector<std::string>{c.notice});
    EXPECT_EQ(SimCallsNamed(host_, "show_text").back()->args, (std::vector<int64_t>{5, 72, 0}));
    EXPECT_EQ(PromptsLoaded().back(), c.voice);
  } else {
    EXPECT_TRUE(shown.empty());
  }
  if (c.reset) {
    EXPECT_EQ(race().state, kOutOfRace);
    EXPECT_EQ(race().current_leg, -1);
    EXPECT_EQ(m().messages.count, 0) << "the queue is emptied";
  } else {
    EXPECT_EQ(race().state, c.state);
    EXPECT_EQ(race().current_leg, 0);
    EXPECT_EQ(m().messages.count, 2) << "nothing is touched";
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AbortInEveryState,
    ::testing::Values(AbortCase{kOutOfRace, true, nullptr, nullptr, true},
                      AbortCase{kArmed, true, nullptr, nullptr, true},
                      AbortCase{kLegRunning, true, "L'aereo \xE8 precipitato. Tratta interrotta",
                                "ADV\\RALLY\\Crash", true},
                      AbortCase{kNearObjectOuter, true, nullptr, nullptr, true},
                      AbortCase{kNearObjectInner, true, nullptr, nullptr, true},
                      AbortCase{kOutOfRace, false, nullptr, nullptr, false},
                      AbortCase{kArmed, false, nullptr, nullptr, true},
                      AbortCase{kLegRunning, false, "SPOSTAMENTO RAPIDO! Tratta interrotta",
                                "ADV\\RALLY\\Slew", true},
                      AbortCase{kNearObjectMiddle, false, nullptr, nullptr, true}));

class DistanceWatch : public Flight {
 protected:
  // One gate 10 km north; the aircraft waits on its meridian.
  void SetUp() override {
    Flight::SetUp();
    Fly(CourseOf({LegOf({GateAt(10000)})}));
    StartFirstLeg();  // tick_count 0: the first check is made in this tick
    gate_ = FromUpperWord(kLat + 10000);
  }
  // Ticks until the next tick is a distance check (a multiple of 8).
  void ToJustBeforeCheck() {
    while (((race().tick_count + 1) & kDistanceCheckMask) != 0) Flight::Tick();
  }
  void SouthOfGate(double metres) { At(NorthOf(gate_, -metres), FromUpperWord(kLon)); }
  // The aircraft `metres` south of the gate's middle at the next check.
  void CheckAt(double metres) {
    ToJustBeforeCheck();
    SouthOfGate(metres);
    Flight::Tick();
  }
  int64_t gate_ = 0;
};

TEST_F(DistanceWatch, AJumpOfMoreThanTwoMilesBetweenChecksAbortsSilently) {
  CheckAt(5000);
  ASSERT_EQ(race().target.last_distance, 5000);
  CheckAt(5000 + 3704);
  EXPECT_EQ(race().state, kLegRunning) << "3704 m farther is still flying";
  EXPECT_EQ(race().target.last_distance, 8704);
  QueueMessage(m(), "in attesa", nullptr, 4);
  size_t shown_before = Shown().size();
  ToJustBeforeCheck();
  SouthOfGate(8704 + 3705);
  int32_t hold = m().alert.hold_counter;
  ASSERT_GT(hold, 0) << "the flying-away warning of the check before still holds";
  Flight::Tick();
  EXPECT_EQ(race().state, kOutOfRace);
  EXPECT_EQ(race().current_leg, -1);
  EXPECT_EQ(m().messages.count, 0);
  EXPECT_EQ(Shown().size(), shown_before) << "no notice";
  EXPECT_EQ(m().alert.hold_counter, hold) << "and no message service in that tick";
}

TEST_F(DistanceWatch, FlyingAwayMoreThanATenthFromTheClosestPointWarns) {
  CheckAt(5000);
  ASSERT_EQ(race().target.smallest_distance, 5000);
  CheckAt(5500);
  EXPECT_EQ(m().alert.priority, 0) << "a tenth farther is allowed";
  EXPECT_EQ(race().target.smallest_distance, 5000);
  CheckAt(5501);
  EXPECT_EQ(m().alert.priority, race_timing::kFlyingAwayPriority);
  EXPECT_STREQ(m().alert.text, "Porta mancata");
  EXPECT_EQ(race().target.smallest_distance, 5501);
  EXPECT_EQ(TimesShown("Porta mancata"), 1);
  CheckAt(4000);
  EXPECT_EQ(race().target.smallest_distance, 4000) << "closer again";
}

TEST_F(DistanceWatch, OnlyEveryEighthTickIsChecked) {
  CheckAt(5000);
  At(NorthOf(gate_, -20000), FromUpperWord(kLon));
  Flight::Tick(7);
  EXPECT_EQ(race().state, kLegRunning);
  EXPECT_EQ(race().target.last_distance, 5000);
  Flight::Tick();
  EXPECT_EQ(race().state, kOutOfRace);
}

TEST_F(DistanceWatch, AMoveToAStartPositionDuringALegAbortsAtTheNextCheck) {
  CheckAt(5000);
  MoveToStartPosition(m(), 13);  // "&8. Seashore Island", kilometres away
  Flight::Tick(8);
  EXPECT_EQ(race().state, kOutOfRace);
}

TEST_F(EngineTicks, TwoTargetsHoldingAtOnceArePassedInOneTickAndTheLegEnds) {
  Fly(CourseOf({LegOf({GateAt(1000), Message{4, "fra le porte", ""}, GateAt(1020)})}));
  StartFirstLeg();
  Flight::Tick(4);
  AtUnits(kLat + 1010, kLon);
  Flight::Tick();
  EXPECT_EQ(race().state, kOutOfRace);
  EXPECT_EQ(race().tick_count, 0) << "5 ticks: 0 seconds";
  std::vector<std::string> waiting = Waiting();
  ASSERT_GE(waiting.size(), 3u);
  EXPECT_EQ(waiting[1], "fra le porte") << "run between the two gates";
  EXPECT_EQ(waiting[2], "TRATTA 1 CONCLUSA! Tempo: 0 secondi; Punteggio: 700.");
}

TEST_F(EngineTicks, RecordsBetweenTwoTargetsRunInTheTickTheFirstIsPassed) {
  Fly(CourseOf({LegOf({GateAt(1000), Message{5, "benvenuti", "ADV\\RALLY\\Hello"},
                       Collectible{3, 25, "Faro"}, TrackStart{kLat + 4000, kLon, 0, 100, 1, 0},
                       QuizTimer{30}, GateAt(4000)})},
               {}, {QuizQuestion{"Domanda?", "S\xEC", "No", "Forse", 10}}));
  StartFirstLeg();
  const uint8_t* first = race().record;
  AtUnits(kLat + 1000, kLon);
  Flight::Tick();
  EXPECT_NE(race().record, first);
  EXPECT_EQ(race().record, race().target.record) << "waiting at the second gate";
  EXPECT_EQ(UpperWord(race().target.position.latitude), kLat + 4000);
  EXPECT_EQ(race().score.bonus, 25);
  EXPECT_STREQ(m().scores.name_slots[3], "Faro");
  EXPECT_TRUE(race().track.active);
  EXPECT_EQ(race().quiz_countdown, 30 * 6 - 1) << "counted down once in this tick's service";
  EXPECT_EQ(
      (std::vector<std::string>{"TRATTA 1 INIZIATA!", "benvenuti", "RACCOLTA! \"Faro\", 25 punti"}),
      Waiting());
}

TEST_F(EngineTicks, AMessageRecordWithoutTextOrTimeShowsNothing) {
  Fly(CourseOf({LegOf({Message{0, "mai", ""}, Message{4, "", "ADV\\RALLY\\Hello"},
                       Message{2, "breve", ""}, GateAt(4000)})}));
  StartFirstLeg();
  EXPECT_EQ((std::vector<std::string>{"TRATTA 1 INIZIATA!", "breve"}), Waiting());
  EXPECT_EQ(m().messages.slots[1].display_ticks, 12);
}

TEST_F(EngineTicks, ALegWithoutTargetsEndsInTheTickItStarts) {
  Fly(CourseOf({LegOf({Message{4, "subito", ""}}, LegEnd{50, 10, 3})}));
  ToggleRace(m());
  AtUnits(kLat, kLon);
  Flight::Tick();
  EXPECT_EQ(race().state, kOutOfRace);
  EXPECT_EQ(race().current_leg, 0);
  EXPECT_FALSE(race().target.exists);
  EXPECT_TRUE(race().score_pending);
  std::vector<std::string> waiting = Waiting();
  ASSERT_EQ(waiting.size(), 5u);
  EXPECT_EQ(waiting[1], "subito");
  EXPECT_EQ(waiting[2], "TRATTA 1 CONCLUSA! Tempo: 0 secondi; Punteggio: 80.");
  EXPECT_EQ(waiting[3], race_text::kNewBest);
}

}  // namespace
