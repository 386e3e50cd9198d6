#include "rally/ui/message_queue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "rally/commands/host_events.h"
#include "rally/ui/message_commands.h"
#include "rally/ui/tenths_text.h"
#include "sim/geodesy.h"
#include "tests/support/module_test_support.h"

namespace {

class Messages : public ModuleOnSim {
 protected:
  void Service(int calls) {
    for (int i = 0; i < calls; ++i) ServiceMessages(m());
  }
  void Merged() {
    m().menu.command_base = 217;
    m().menu.command_last = 230;
  }
  std::vector<std::string> Shown() const {
    std::vector<std::string> texts;
    for (const SimCall* c : SimCallsNamed(host_, "show_text")) texts.push_back(c->text);
    return texts;
  }
  const MessageQueue& q() { return m().messages; }
};

using Texts = std::vector<std::string>;

TEST_F(Messages, AFourSecondMessageIsShownAtOnceAndLeavesAfterTwentyFourCalls) {
  QueueMessage(m(), "uno", "ADV\\RALLY\\Start", 4);
  QueueMessage(m(), "due", nullptr, 6);
  Service(1);
  ASSERT_EQ(Shown(), (Texts{"uno"}));
  const SimCall& shown = *SimCallsNamed(host_, "show_text")[0];
  EXPECT_EQ(shown.args, (std::vector<int64_t>{5, 72, 0})) << "18 x seconds on screen";
  EXPECT_EQ(SimCallsNamed(host_, "play_sound").size(), 1u) << "with its voice";
  Service(23);
  EXPECT_EQ(Shown().size(), 1u);
  Service(1);
  EXPECT_EQ(Shown(), (Texts{"uno", "due"})) << "the next one in that same call";
  EXPECT_EQ(q().countdown, 36);
}

TEST_F(Messages, ASixthMessageDropsTheOneOnScreen) {
  for (const char* text : {"1", "2", "3", "4", "5"}) QueueMessage(m(), text, nullptr, 4);
  Service(1);
  Service(10);
  QueueMessage(m(), "6", nullptr, 4);
  EXPECT_EQ(q().count, 5);
  EXPECT_EQ(q().countdown, 0);
  EXPECT_STREQ(q().slots[0].text, "2");
  EXPECT_STREQ(q().slots[4].text, "6");
  Service(1);
  EXPECT_EQ(Shown(), (Texts{"1", "2"}));
  EXPECT_EQ(q().countdown, 24) << "the former second message gets its full time";
}

TEST_F(Messages, NoneTextsAndTimesThatNeverRunOutAreNotQueued) {
  QueueMessage(m(), nullptr, nullptr, 4);
  QueueMessage(m(), "zero", nullptr, 0);
  QueueMessage(m(), "negative", nullptr, -3);
  EXPECT_EQ(q().count, 0);
  std::string long_text(300, 'x');
  QueueMessage(m(), long_text.c_str(), nullptr, 4);
  EXPECT_EQ(std::string(q().slots[0].text), std::string(255, 'x')) << "cut at 255 characters";
}

TEST_F(Messages, ClearingStopsTheCountdownAndTheNextMessageShowsAtOnce) {
  QueueMessage(m(), "prima", nullptr, 6);
  QueueMessage(m(), "seconda", nullptr, 6);
  Service(5);
  m().alert.priority = 2;
  ClearMessages(m());
  EXPECT_EQ(q().count, 0);
  EXPECT_EQ(q().countdown, 0);
  EXPECT_EQ(m().alert.priority, 0);
  QueueMessage(m(), "dopo", nullptr, 4);
  Service(1);
  EXPECT_EQ(Shown(), (Texts{"prima", "dopo"}));
}

TEST_F(Messages, RepeatOnlyWhenDrainedAndRunningWithTheSamePromptAndSeconds) {
  RepeatLastMessage(m());
  EXPECT_EQ(q().count, 0) << "nothing was shown yet";
  m().race.state = kLegRunning;
  RepeatLastMessage(m());
  EXPECT_EQ(q().count, 0) << "slot 0 is still empty";

  QueueMessage(m(), "TRATTA 1 INIZIATA!", "ADV\\RALLY\\Start", 6);
  Service(1);
  RepeatLastMessage(m());
  EXPECT_EQ(q().count, 1) << "a message still waits";
  Service(36);
  ASSERT_EQ(q().count, 0);

  m().race.state = kOutOfRace;
  RepeatLastMessage(m());
  EXPECT_EQ(q().count, 0);
  m().race.state = kLegRunning;
  RepeatLastMessage(m());
  ASSERT_EQ(q().count, 1);
  EXPECT_STREQ(q().slots[0].text, "TRATTA 1 INIZIATA!");
  EXPECT_STREQ(q().slots[0].prompt, "ADV\\RALLY\\Start");
  EXPECT_EQ(q().slots[0].display_ticks, 36);
}

TEST_F(Messages, AnAlertIsShownOnceAndHoldsBackOthersFor540Calls) {
  RaiseAlert(m(), "VIA!", "ADV\\RALLY\\FailGateDir", 2);
  Service(1);
  EXPECT_EQ(Shown(), (Texts{"VIA!"}));
  Service(59);
  RaiseAlert(m(), "ANCORA", nullptr, 2);
  Service(1);
  EXPECT_EQ(Shown().size(), 1u) << "ten seconds later: ignored";
  Service(538 - 61);
  RaiseAlert(m(), "ANCORA", nullptr, 2);
  EXPECT_EQ(m().alert.hold_counter, 539) << "still held after 538 calls";
  Service(1);
  EXPECT_EQ(m().alert.hold_counter, 0) << "free after 539 calls, 90 seconds";
  RaiseAlert(m(), "DI NUOVO", nullptr, 1);
  Service(1);
  EXPECT_EQ(Shown().back(), "DI NUOVO");
}

TEST_F(Messages, ALowerOrEqualPriorityDoesNotReplaceALatchedAlert) {
  RaiseAlert(m(), "alta", nullptr, 2);
  RaiseAlert(m(), "bassa", nullptr, 1);
  EXPECT_STREQ(m().alert.text, "alta");
  m().alert.hold_counter = 0;  // released, but the priority stays until the hold ends
  RaiseAlert(m(), "uguale", nullptr, 2);
  EXPECT_STREQ(m().alert.text, "alta");
}

TEST_F(Messages, ASilentAlertStillHolds) {
  RaiseAlert(m(), nullptr, nullptr, 1);
  Service(1);
  EXPECT_TRUE(Shown().empty());
  RaiseAlert(m(), "dopo", nullptr, 2);
  EXPECT_EQ(m().alert.text, nullptr);
}

TEST_F(Messages, TheQuizIsAskedForOnlyWhenAMessageStepFindsTheQueueEmpty) {
  Merged();
  m().race.quiz_countdown = 1;
  QueueMessage(m(), "attesa", nullptr, 1);
  Service(1);
  Service(6);  // the message ends in this call: the queue has just drained
  EXPECT_TRUE(SimCallsNamed(host_, "issue_command").empty());
  Service(1);
  auto asked = SimCallsNamed(host_, "issue_command");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0]->args, (std::vector<int64_t>{222, 0}));
  EXPECT_EQ(m().race.quiz_countdown, 0);
}

TEST_F(Messages, TheQuizCountdownRunsDownToOne) {
  Merged();
  m().race.quiz_countdown = 3;
  Service(1);
  EXPECT_EQ(m().race.quiz_countdown, 2);
  Service(1);
  EXPECT_EQ(m().race.quiz_countdown, 0) << "reached 1, then asked in the same call";
  EXPECT_EQ(SimCallsNamed(host_, "issue_command").size(), 1u);
}

// Without the merged popup, base + 5 would be one of the simulator's own
// commands: nothing is issued and the quiz stays due until the popup is back.
TEST_F(Messages, ADueQuizWaitsWhileTheMenuTakesNoCommands) {
  const MenuState unmerged[] = {{0, 0, 0}, {0, 217, 0}};  // never merged; a failed merge
  for (const MenuState& menu : unmerged) {
    m().menu = menu;
    m().race.quiz_countdown = 1;
    Service(3);
    EXPECT_TRUE(SimCallsNamed(host_, "issue_command").empty()) << menu.command_base;
    EXPECT_EQ(m().race.quiz_countdown, 1) << "still due";
  }
  Merged();
  Service(1);
  ASSERT_EQ(SimCallsNamed(host_, "issue_command").size(), 1u);
  EXPECT_EQ(SimCallsNamed(host_, "issue_command")[0]->args[0], 222);
}

TEST_F(Messages, TheScoreSummaryOpensInTheCallInWhichTheLastMessageRunsOut) {
  m().race.score_pending = true;
  m().race.current_leg = 2;
  Service(3);
  EXPECT_TRUE(SimCallsNamed(host_, "DialogBoxParamA").empty()) << "not from an empty queue";
  QueueMessage(m(), "TRATTA 3 CONCLUSA!", nullptr, 4);
  Service(24);
  EXPECT_TRUE(SimCallsNamed(host_, "DialogBoxParamA").empty());
  size_t before = host_.calls.size();
  Service(1);
  ASSERT_EQ(host_.calls.size(), before + 3);
  EXPECT_EQ(host_.calls[before].op, "SendMessageA");
  EXPECT_EQ(host_.calls[before].args[1], 0x0211) << "WM_ENTERMENULOOP";
  EXPECT_EQ(host_.calls[before + 1].op, "DialogBoxParamA");
  EXPECT_EQ(host_.calls[before + 1].args[0], 101);
  EXPECT_EQ(host_.calls[before + 2].args[1], 0x0212) << "WM_EXITMENULOOP";
  EXPECT_STREQ(m().summary.leg_status_line, "Ultima tratta: n\xB0 3");
  EXPECT_FALSE(m().race.score_pending);
  Service(30);
  EXPECT_EQ(SimCallsNamed(host_, "DialogBoxParamA").size(), 1u) << "once";
}

TEST_F(Messages, AResetWhileTheSummaryWaitsDefersItToALaterMessage) {
  m().race.score_pending = true;
  QueueMessage(m(), "a", nullptr, 4);
  QueueMessage(m(), "b", nullptr, 4);
  Service(10);
  ClearMessages(m());
  Service(50);
  EXPECT_TRUE(SimCallsNamed(host_, "DialogBoxParamA").empty());
  QueueMessage(m(), "c", nullptr, 4);
  Service(25);
  EXPECT_EQ(SimCallsNamed(host_, "DialogBoxParamA").size(), 1u);
}

class NextFix : public Messages {
 protected:
  void SetUp() override {
    Messages::SetUp();
    m().race.state = kLegRunning;
    m().race.target.exists = true;
    SetSimAircraftPosition(host_.state, HostPosition{geodesy::LatitudeFromDegrees(26.4),
                                                     geodesy::LongitudeFromDegrees(170.5), 0});
  }
  void TargetAt(double lat, double lon, int32_t metres) {
    m().race.target.position =
        HostPosition{geodesy::LatitudeFromDegrees(lat), geodesy::LongitudeFromDegrees(lon),
                     FromUpperWord(metres)};
  }
};

TEST_F(NextFix, ReadsMilesDegreesAndFeetAndCostsAnAid) {
  TargetAt(26.4, 170.5, 1852);  // straight above: 1852 m at bearing 0
  ShowNextFixInfo(m());
  ASSERT_EQ(q().count, 1);
  EXPECT_STREQ(q().slots[0].text, "Prossimo fix a 1.0NM per 360\xB0, 6076ft MSL");
  EXPECT_EQ(q().slots[0].display_ticks, 24);
  EXPECT_EQ(q().slots[0].prompt, nullptr);
  EXPECT_EQ(m().race.score.aids, 1);
}

// The figure does not depend on the build's C runtime: 463 m is exactly
// 0.25 NM, a tie, which rounds away from zero as the simulator's runtime
// does; the feet are held to 32 bits however high the target.
TEST_F(NextFix, RoundsTiesAwayFromZeroAndHoldsTheFeetTo32Bits) {
  const struct {
    int32_t metres;
    const char* text;
  } cases[] = {
      {463, "Prossimo fix a 0.3NM per 360\xB0, 1519ft MSL"},
      {1389, "Prossimo fix a 0.8NM per 360\xB0, 4557ft MSL"},  // 0.75 NM
      {92, "Prossimo fix a 0.0NM per 360\xB0, 301ft MSL"},     // 0.0497 NM
      {2147483647, "Prossimo fix a 1159548.4NM per 360\xB0, 2147483647ft MSL"},
  };
  for (const auto& c : cases) {
    m().messages = MessageQueue{};
    TargetAt(26.4, 170.5, c.metres);
    ShowNextFixInfo(m());
    EXPECT_STREQ(q().slots[0].text, c.text) << c.metres;
  }
}

TEST(TenthsText, RoundsTheExactBinaryValueWithTiesAwayFromZero) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {0.25, "0.3"},
      {2.5, "2.5"},
      {0.35, "0.3"},  // 0.35 is stored just below
      {0.05, "0.1"},
      {0.15, "0.1"},
      {-0.25, "-0.3"},
      {-0.04, "-0.0"},
      {0.0, "0.0"},
      {9.95, "9.9"},
      {99.95, "100.0"},
      {1e-300, "0.0"},
      {123456789.05, "123456789.0"},
      {1e300, "900000000000000000.0"},
      {std::nan(""), "0.0"},
  };
  for (const auto& c : cases) {
    char text[32];
    FormatTenths(c.value, text, sizeof text);
    EXPECT_STREQ(text, c.text) << c.value;
  }
  char small[4];
  FormatTenths(123.4, small, sizeof small);
  EXPECT_STREQ(small, "123") << "cut to the buffer, terminated";
}

TEST_F(NextFix, SubtractsTheMagneticVariation) {
  TargetAt(26.4, 170.6, 0);  // due east: 16384
  SetSimMagneticVariation(host_.state, 0x0100);
  ShowNextFixInfo(m());
  ASSERT_EQ(q().count, 1);
  // (16384 - 256) x 360/65536 = 88.59 degrees, truncated.
  EXPECT_NE(std::string(q().slots[0].text).find(" per 088\xB0,"), std::string::npos)
      << q().slots[0].text;
}

TEST_F(NextFix, DoesNothingOutsideALegOrWithoutATarget) {
  TargetAt(26.5, 170.5, 100);
  m().race.target.exists = false;
  ShowNextFixInfo(m());
  m().race.target.exists = true;
  m().race.state = kArmed;
  ShowNextFixInfo(m());
  EXPECT_EQ(q().count, 0);
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_EQ(m().race.score.aids, 0);
}

TEST(NextFixFactor, IsTheDoubleWithTheGivenBits) {
  EXPECT_DOUBLE_EQ(NextFixDegreeFactor(), 0.0054931640625001344);
  EXPECT_GT(NextFixDegreeFactor(), 360.0 / 65536.0);
}

class HostEvents : public NextFix {};

TEST_F(HostEvents, AreIgnoredUntilTheMenuIsMerged) {
  TargetAt(26.5, 170.5, 100);
  OnHostEvent(m(), kEventNextFix);
  OnHostEvent(m(), kEventScoreSummary);
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_EQ(q().count, 0);
}

TEST_F(HostEvents, TheThreeKeysReachTheirActions) {
  m().menu.command_base = 300;
  TargetAt(26.5, 170.5, 100);
  OnHostEvent(m(), kEventNextFix);
  EXPECT_EQ(q().count, 1);
  OnHostEvent(m(), kEventScoreSummary);
  auto asked = SimCallsNamed(host_, "issue_command");
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0]->args, (std::vector<int64_t>{301, 0}));
  Service(25);
  OnHostEvent(m(), kEventRepeat);
  EXPECT_EQ(q().count, 1) << "the readout again";
  OnHostEvent(m(), 0x10000);
  EXPECT_EQ(q().count, 1);
}

}  // namespace
