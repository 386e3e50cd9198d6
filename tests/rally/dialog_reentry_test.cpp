#include "rally/ui/dialog_gate.h"
#include "rally/ui/score_summary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "rally/commands/host_events.h"
#include "rally/commands/quiz.h"
#include "rally/module/main_window_messages.h"
#include "rally/ui/message_queue.h"
#include "sim/sim_dialogs.h"
#include "tests/support/flight_test_support.h"

namespace {

using namespace flight;

// A modal dialog's loop goes on dispatching the thread's messages: here the
// stand-in's dialogs run the engine's ticks, host events and commands from
// inside themselves, and every dialog the module opens meanwhile is counted.
class DialogReentry : public Flight {
 protected:
  void SetUp() override {
    Flight::SetUp();
    host_.deliver_command = [this](uint32_t command) {
      HandleMainWindowMessage(m(), MainWindowMessage::kCommand, host_.window.handle, command);
    };
    host_.run_dialog = [this](int32_t id) {
      opened_.push_back(id);
      depth_ += 1;
      deepest_ = std::max(deepest_, depth_);
      if (inside_) {
        std::function<void()> once = inside_;
        inside_ = nullptr;
        once();
      }
      SimDialogAnswers right;  // the pilot knows every answer
      right.quiz_slot = m().quiz.correct_slot;
      int32_t result = RunSimDialog(m(), id, right).result;
      depth_ -= 1;
      return result;
    };
  }
  void FlyWithQuestions() {
    Fly(CourseOf({LegOf({GateAt(2000)})}, {},
                 {{"Prima?", "Uno", "Due", "Tre", 10}, {"Seconda?", "Uno", "Due", "Tre", 200}}));
    m().menu.command_base = 217;  // as after a merge
    m().menu.command_last = 230;
    StartFirstLeg();
  }
  void Command(uint32_t slot) { SimDeliverCommand(host_, 217 + slot); }

  std::function<void()> inside_;  // run once, inside the next dialog
  std::vector<int32_t> opened_;
  int depth_ = 0;
  int deepest_ = 0;
};

TEST_F(DialogReentry, TicksAndTheScoreKeyInsideTheLegSummaryOpenNoSecondDialogUntilItCloses) {
  FlyWithQuestions();
  race().score_pending = true;
  QueueMessage(m(), "TRATTA 1 CONCLUSA!", nullptr, 1);
  inside_ = [this] {
    QueueMessage(m(), "Prossimo fix", nullptr, 1);  // drains while the summary is open
    Tick(8);
    SimSendEvent(host_, kEventScoreSummary);
    Command(kQuizCommandSlot);
    EXPECT_EQ(opened_.size(), 1u) << "nothing opened inside the summary";
  };
  Tick(200);  // the leg's messages drain, then the summary opens
  EXPECT_EQ(deepest_, 1) << "never two dialogs at once";
  // The pilot's summary and the quiz waited for the leg's summary to close.
  EXPECT_EQ(opened_, (std::vector<int32_t>{kScoreSummaryDialog, kScoreSummaryDialog, kQuizDialog}));
  QueueMessage(m(), "dopo", nullptr, 1);
  Tick(20);
  EXPECT_EQ(opened_.size(), 3u) << "the leg's summary opens once";
}

TEST_F(DialogReentry, ASecondQuizWaitsAndTheFirstIsJudgedOnItsOwnQuestion) {
  FlyWithQuestions();
  m().random = RandomGenerator{0};  // the first draw picks question 0
  int32_t asked_first = -1;
  inside_ = [&] {
    asked_first = m().quiz.index;
    Command(kQuizCommandSlot);
    Command(4);  // the credits
  };
  const int32_t bonus = race().score.bonus;
  Command(kQuizCommandSlot);
  EXPECT_EQ(deepest_, 1);
  EXPECT_EQ(opened_, (std::vector<int32_t>{kQuizDialog, kCreditsDialog, kQuizDialog}));
  ASSERT_EQ(asked_first, 0);
  // Both answered right, each booked on its own question.
  EXPECT_EQ(QuizState(m().scores, 0), score::kQuizAsked);
  EXPECT_EQ(QuizState(m().scores, 1), score::kQuizAsked);
  EXPECT_EQ(race().score.bonus, bonus + 10 + 200);
}

}  // namespace
