#include "rally/race/leg_scoring.h"
#include "rally/ui/score_summary.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "rally/race/race_texts.h"
#include "rally/ui/message_commands.h"
#include "tests/support/flight_test_support.h"

namespace {

using namespace flight;

class Scoring : public Flight {
 protected:
  // Waits `ticks` ticks after the start of the first leg, then flies
  // through its gate at 2000 m.
  void FinishAfter(int ticks) {
    StartFirstLeg();
    Tick(ticks - 1);
    AtUnits(kLat + 2000, kLon);
    Tick();
    ASSERT_EQ(race().state, kOutOfRace);
  }
  std::string FileBytes() {
    std::ifstream in(folder_.File("Rally.SCO"), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  bool Queued(const std::string& text) {
    for (const std::string& w : Waiting()) {
      if (w == text) return true;
    }
    return false;
  }
};

struct TimeCase {
  int ticks;
  int32_t seconds;
  int32_t time;
};

class TimeComponent : public Scoring, public ::testing::WithParamInterface<TimeCase> {};

TEST_P(TimeComponent, IsTheAllowanceLessTheWholeSecondsTimesTheFactor) {
  const TimeCase& c = GetParam();
  Fly(CourseOf({LegOf({GateAt(2000)}, LegEnd{10, 600, 2})}));
  FinishAfter(c.ticks);
  EXPECT_EQ(race().tick_count, c.seconds) << "the ticks become seconds";
  EXPECT_EQ(race().score.time, c.time);
  EXPECT_EQ(race().score.total, 10 + c.time);
  EXPECT_TRUE(Queued("TRATTA 1 CONCLUSA! Tempo: " + std::to_string(c.seconds) +
                     " secondi; Punteggio: " + std::to_string(10 + c.time) + "."));
}

INSTANTIATE_TEST_SUITE_P(Ticks, TimeComponent,
                         ::testing::Values(TimeCase{3599, 599, 2}, TimeCase{3600, 600, 0},
                                           TimeCase{3605, 600, 0}, TimeCase{3606, 601, -2}));

TEST_F(Scoring, EveryNextFixReadoutCostsFiftyPoints) {
  Fly(CourseOf({LegOf({Collectible{1, 25, "Ancora"}, GateAt(2000)}, LegEnd{500, 0, 7})}));
  StartFirstLeg();
  for (int i = 0; i < 3; ++i) ShowNextFixInfo(m());
  EXPECT_EQ(race().score.aids, 3);
  AtUnits(kLat + 2000, kLon);
  Tick();
  EXPECT_EQ(race().score.aids, -150);
  EXPECT_EQ(race().score.total, 500 + 25 - 150);
  EXPECT_TRUE(Queued("Punteggio: Base 500, Bonus 25, Tempo 0, Prec. 0, Aiuti -150; Totale 375"));
}

TEST_F(Scoring, AFirstPositiveTotalIsRecordedAndWritten) {
  Fly(CourseOf({LegOf({Collectible{2, 5, "Vela"}, GateAt(2000)}, LegEnd{100, 600, 1})}));
  ASSERT_FALSE(ScoreFileExists());
  FinishAfter(12);
  const LegScore& s = race().score;
  EXPECT_EQ(s.total, 100 + 5 + 598);
  for (int32_t v = 0; v < 6; ++v) {
    const int32_t values[6] = {s.base, s.bonus, s.time, s.precision, s.aids, s.total};
    EXPECT_EQ(BestLegValue(m().scores, 0, v), values[v]) << v;
  }
  DiskScores disk = ScoresOnDisk();
  EXPECT_EQ(disk.BestTotal(0), 703);
  EXPECT_EQ(disk.names[2], "Vela") << "the name collected goes with it";
  std::vector<std::string> waiting = Waiting();
  ASSERT_EQ(waiting.size(), 5u) << "the start, the item, then the end";
  EXPECT_EQ(waiting[2], "TRATTA 1 CONCLUSA! Tempo: 2 secondi; Punteggio: 703.");
  EXPECT_EQ(waiting[3], race_text::kNewBest);
  EXPECT_STREQ(m().messages.slots[3].prompt, "ADV\\RALLY\\NewScore");
  EXPECT_EQ(waiting[4], "Punteggio: Base 100, Bonus 5, Tempo 598, Prec. 0, Aiuti 0; Totale 703");
  EXPECT_TRUE(race().score_pending);
}

struct BestCase {
  int32_t base;
  bool recorded;
};

class AgainstTheBest : public Scoring, public ::testing::WithParamInterface<BestCase> {};

TEST_P(AgainstTheBest, OnlyATotalAboveTheRecordedBestIsRecorded) {
  ScoresWithTotals({700});
  Fly(CourseOf({LegOf({GateAt(2000)}, LegEnd{GetParam().base, 0, 0})}));
  std::string before = FileBytes();
  FinishAfter(3);
  EXPECT_EQ(Queued(race_text::kNewBest), GetParam().recorded);
  EXPECT_EQ(BestLegTotal(m().scores, 0), GetParam().recorded ? GetParam().base : 700);
  EXPECT_EQ(FileBytes() == before, !GetParam().recorded) << "written only for a new best";
}

INSTANTIATE_TEST_SUITE_P(Totals, AgainstTheBest,
                         ::testing::Values(BestCase{700, false}, BestCase{701, true},
                                           BestCase{699, false}));

class NoPoints : public Scoring, public ::testing::WithParamInterface<int32_t> {};

TEST_P(NoPoints, ATotalOfZeroOrLessReloadsTheScoreFile) {
  ScoresWithTotals({0}, {"Vecchio"});
  Fly(CourseOf({LegOf({Collectible{0, 0, "Nuovo"}, GateAt(2000)}, LegEnd{GetParam(), 0, 0})}));
  StartFirstLeg();
  ASSERT_STREQ(NameSlot(m().scores, 0), "Nuovo");
  AtUnits(kLat + 2000, kLon);
  Tick();
  EXPECT_STREQ(NameSlot(m().scores, 0), "Vecchio") << "what was not written is dropped";
  EXPECT_FALSE(Queued(race_text::kNewBest));
  ASSERT_EQ(Waiting().back(), race_text::kNoPoints);
  EXPECT_STREQ(m().messages.slots[m().messages.count - 1].prompt, "ADV\\RALLY\\NoScore");
  EXPECT_TRUE(race().score_pending);
}

INSTANTIATE_TEST_SUITE_P(Totals, NoPoints, ::testing::Values(0, -10));

TEST_F(Scoring, ALegAfterAnUnrecordedLegRunsButIsNeverRecorded) {
  ScoresWithTotals({100, 0});
  Leg third =
      LegOf({Collectible{1, 5, "Remo"}, GateAt(22000)}, LegEnd{100, 600, 1}, StartAt(kLat + 20000));
  Fly(CourseOf(
      {LegOf({GateAt(2000)}), LegOf({GateAt(12000)}, LegEnd{}, StartAt(kLat + 10000)), third}));
  std::string before = FileBytes();
  ToggleRace(m());
  AtUnits(kLat + 20000, kLon);
  Tick();
  ASSERT_EQ(race().state, kLegRunning);
  EXPECT_EQ(race().current_leg, 2);
  EXPECT_EQ(race().valid_run, 0);
  EXPECT_EQ(Waiting(),
            (std::vector<std::string>{"TRATTA 3 INIZIATA!", race_text::kEarlierLegsMissing,
                                      "RACCOLTA! \"Remo\", 5 punti"}));
  EXPECT_STREQ(m().messages.slots[1].prompt, "ADV\\RALLY\\Invalid");
  EXPECT_EQ(NameSlot(m().scores, 1), nullptr) << "no name on a run that cannot count";

  Tick(30);
  AtUnits(kLat + 22000, kLon);
  Tick();
  ASSERT_EQ(race().state, kOutOfRace);
  EXPECT_GT(race().score.total, 0);
  EXPECT_TRUE(Queued("TRATTA 3 CONCLUSA! Tempo: 5 secondi; Punteggio: 700."));
  EXPECT_FALSE(Queued(race_text::kNewBest));
  EXPECT_EQ(BestLegTotal(m().scores, 2), 0);
  EXPECT_EQ(FileBytes(), before);

  int ticks = 0;
  while (m().messages.count > 0 && ticks++ < 1000) {
    ASSERT_EQ(Dialogs(kScoreSummaryDialog), 0) << "not before the last message has run out";
    Tick();
  }
  EXPECT_EQ(Dialogs(kScoreSummaryDialog), 1);
  EXPECT_STREQ(m().summary.leg_status_line, "Ultima tratta: n\xB0 3");
  Tick(100);
  EXPECT_EQ(Dialogs(kScoreSummaryDialog), 1) << "once";
}

TEST_F(Scoring, ValidRunNeedsEveryEarlierLegAboveZero) {
  ScoresWithTotals({5, 7});
  Fly(CourseOf({LegOf({GateAt(2000)}), LegOf({GateAt(12000)}, LegEnd{}, StartAt(kLat + 10000)),
                LegOf({GateAt(22000)}, LegEnd{}, StartAt(kLat + 20000))}));
  ToggleRace(m());
  AtUnits(kLat + 20000, kLon);
  Tick();
  EXPECT_EQ(race().valid_run, 1);
  EXPECT_EQ(Waiting(), std::vector<std::string>{"TRATTA 3 INIZIATA!"});
  EXPECT_STREQ(m().messages.slots[0].prompt, "ADV\\RALLY\\Start");
}

TEST_F(Scoring, AnAbortedLegIsNotScored) {
  Fly(CourseOf({LegOf({Collectible{1, 5, "Remo"}, GateAt(2000)})}));
  StartFirstLeg();
  SetSimCrashed(host_.state, 1);
  Tick();
  EXPECT_EQ(race().score.bonus, 5) << "left as it was";
  EXPECT_FALSE(race().score_pending);
  EXPECT_FALSE(ScoreFileExists());
}

}  // namespace
