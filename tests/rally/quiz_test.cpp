#include "rally/commands/quiz.h"
#include "rally/ui/score_summary.h"

#include <gtest/gtest.h>

#include <deque>

#include "course_model/course_writer.h"
#include "rally/host/stdio_platform.h"
#include "rally/module/course_loader.h"
#include "rally/state/random_generator.h"
#include "rally/ui/quiz_choice.h"
#include "rally/ui/quiz_dialog.h"
#include "sim/sim_dialogs.h"
#include "tests/support/module_test_support.h"

namespace {

using namespace quiz_dialog;

// A generator whose draw number `skip` + 1 is r (the draws before it are
// whatever they are): the state that step is taken from is worked back
// through the inverse of the multiplier.
RandomGenerator GeneratorDrawing(int32_t r, int skip = 0) {
  constexpr uint32_t kMultiplier = 214013u, kIncrement = 2531011u;
  uint32_t inverse = kMultiplier;
  for (int i = 0; i < 5; ++i) inverse *= 2u - kMultiplier * inverse;
  uint32_t state = static_cast<uint32_t>(r) << 16;
  for (int i = 0; i <= skip; ++i) state = (state - kIncrement) * inverse;
  return RandomGenerator{state};
}

// The smallest draw that lands on row k of the answer order.
int32_t DrawForRow(int32_t k) {
  return (k * 32767 + 5) / 6;
}

course_model::Course QuizCourse(int questions) {
  course_model::Course c;
  c.first_title = "Quiz";
  c.legs.push_back(course_model::Leg{{{1, 2, 3, 4}, 300, 100, 0, 99999, 65536}, {}, {1, 2, 3}});
  for (int k = 0; k < questions; ++k) {
    std::string n = std::to_string(k);
    c.questions.push_back(
        {"Domanda " + n, "Giusta " + n, "Seconda " + n, "Terza " + n, 10 * (k + 1)});
  }
  return c;
}

class QuizCommand : public ModuleOnSim {
 protected:
  void Load(const course_model::Course& course) {
    ASSERT_TRUE(WriteCourseFile(folder_.File("Rally.DAT"), course));
    ASSERT_TRUE(LoadCourse(m()));
    m().race.state = kLegRunning;
    host_.run_dialog = [this](int32_t id) {
      dialogs_opened.push_back(id);
      if (results.empty()) return RunSimDialog(m(), id, answers).result;
      int32_t r = results.front();
      results.pop_front();
      return r;
    };
  }
  // Question states as a score file would hold them; the counts are derived
  // by reading the file back.
  void SetStates(const std::vector<int32_t>& states) {
    for (size_t i = 0; i < states.size(); ++i)
      m().scores.words[score::kQuizStateWord + i] = states[i];
    // Written through the plain files: the fixture's counting heap wraps reads only.
    PlatformOps files = MakeStdioPlatform(&files_);
    ASSERT_TRUE(WriteScoreFile(m().scores, files, m().course.path));
    ReadScoreFile(m().scores, m().platform, m().course.path, CourseQuestionCount(m().course));
  }
  int32_t State(int32_t question) { return QuizState(m().scores, question); }

  std::deque<int32_t> results;  // dialog results to give; empty: the stand-in's dialog answers
  SimDialogAnswers answers;
  std::vector<int32_t> dialogs_opened;
};

TEST_F(QuizCommand, TheDrawPicksAmongTheUnaskedQuestionsInTableOrder) {
  Load(QuizCourse(5));
  SetStates({1, 0, 3, 0, 0});  // unasked: questions 1, 3 and 4
  ASSERT_EQ(m().scores.unasked_count, 3);
  results = {kRightResult, kRightResult};

  m().random = GeneratorDrawing(32767);
  RunQuizCommand(m());
  EXPECT_EQ(m().quiz.index, 4) << "r = 32767 folds onto the third unasked question";
  EXPECT_EQ(State(4), score::kQuizAsked);
  EXPECT_EQ(m().scores.unasked_count, 2);

  m().random = GeneratorDrawing(0);
  RunQuizCommand(m());
  EXPECT_EQ(m().quiz.index, 1) << "r = 0 takes the first unasked one";
  EXPECT_EQ(m().scores.unasked_count, 1);
  EXPECT_EQ(State(2), 3) << "the wrong one waits while new ones are left";
}

TEST_F(QuizCommand, AnswerOrderRowFiveShowsTheAnswersBackwards) {
  Load(QuizCourse(1));
  m().random = GeneratorDrawing(32767, 1);  // the second draw is the answer order
  RunQuizCommand(m());
  EXPECT_STREQ(m().quiz.question, "Domanda 0");
  EXPECT_STREQ(m().quiz.answers[0], "Terza 0");
  EXPECT_STREQ(m().quiz.answers[1], "Seconda 0");
  EXPECT_STREQ(m().quiz.answers[2], "Giusta 0");
  EXPECT_EQ(m().quiz.correct_slot, 3);
  EXPECT_EQ(m().quiz.points, 10);
}

TEST_F(QuizCommand, LeavingTheFirstSlotCheckedIsRightExactlyInRowsZeroAndOne) {
  Load(QuizCourse(1));
  for (int32_t row = 0; row < 6; ++row) {
    SCOPED_TRACE(row);
    m().race.score.bonus = 0;
    m().random = GeneratorDrawing(DrawForRow(row), 1);
    RunQuizCommand(m());  // the stand-in pilot presses OK on the preselected slot 1
    ASSERT_EQ(m().quiz.correct_slot, quiz_order::kTable[row][3]);
    bool right = row <= 1;
    EXPECT_EQ(m().race.score.bonus, right ? 10 : 0);
    EXPECT_EQ(State(0) & score::kQuizWrong, right ? 0 : score::kQuizWrong);
  }
}

TEST_F(QuizCommand, AWrongQuestionComesBackOnlyWhenNoNewOneIsLeft) {
  Load(QuizCourse(2));
  m().race.score.bonus = 7;
  SeedRandom(m().random, 99);
  results = {kWrongResult, kRightResult, kRightResult};

  RunQuizCommand(m());
  int32_t first = m().quiz.index;
  EXPECT_EQ(State(first), score::kQuizAsked | score::kQuizWrong);
  EXPECT_EQ(m().scores.wrong_count, 1);
  EXPECT_EQ(m().race.score.bonus, 7);

  RunQuizCommand(m());
  EXPECT_EQ(m().quiz.index, 1 - first) << "the unasked question goes first";
  EXPECT_EQ(m().scores.unasked_count, 0);
  int32_t after_second = m().race.score.bonus;

  RunQuizCommand(m());
  EXPECT_EQ(m().quiz.index, first) << "then the wrong one is asked again";
  EXPECT_EQ(State(first), score::kQuizAsked) << "right now: the asked bit stays";
  EXPECT_EQ(m().scores.wrong_count, 0);
  EXPECT_EQ(m().race.score.bonus, after_second + 10 * (first + 1));
}

TEST_F(QuizCommand, AQuestionWrongAgainStaysCountedOnce) {
  Load(QuizCourse(1));
  SetStates({3});
  ASSERT_EQ(m().scores.wrong_count, 1);
  results = {kWrongResult};
  RunQuizCommand(m());
  EXPECT_EQ(m().quiz.index, 0);
  EXPECT_EQ(State(0), 3);
  EXPECT_EQ(m().scores.wrong_count, 1);
}

TEST_F(QuizCommand, OnceEveryQuestionIsAnsweredRightAllBecomeNewAgain) {
  Load(QuizCourse(3));
  SetStates({1, 1, 1});
  ASSERT_EQ(m().scores.unasked_count, 0);
  ASSERT_EQ(m().scores.wrong_count, 0);
  results = {kRightResult};
  m().random = GeneratorDrawing(32767);
  RunQuizCommand(m());
  EXPECT_EQ(m().quiz.index, 2) << "picked among all three";
  EXPECT_EQ(State(0), 0);
  EXPECT_EQ(State(1), 0);
  EXPECT_EQ(State(2), score::kQuizAsked);
  EXPECT_EQ(m().scores.unasked_count, 2);
}

TEST_F(QuizCommand, AsksInsideTheMenuLoopAndBooksThePointsToTheRunningLeg) {
  Load(QuizCourse(1));
  m().race.score.bonus = 5;
  results = {kRightResult};
  size_t before = host_.calls.size();
  RunQuizCommand(m());
  ASSERT_EQ(host_.calls.size(), before + 3);
  EXPECT_EQ(host_.calls[before].op, "SendMessageA");
  EXPECT_EQ(host_.calls[before].args[1], 0x0211) << "WM_ENTERMENULOOP";
  EXPECT_EQ(host_.calls[before + 1].op, "DialogBoxParamA");
  EXPECT_EQ(host_.calls[before + 1].args[0], kQuizDialog);
  EXPECT_EQ(host_.calls[before + 2].args[1], 0x0212) << "WM_EXITMENULOOP";
  EXPECT_EQ(m().race.score.bonus, 15);
  EXPECT_EQ(m().scores.wrong_count, 0);
}

TEST_F(QuizCommand, ADialogThatCannotBeCreatedCountsAsWrong) {
  Load(QuizCourse(1));
  results = {-1};
  RunQuizCommand(m());
  EXPECT_EQ(State(0), score::kQuizAsked | score::kQuizWrong);
  EXPECT_EQ(m().scores.wrong_count, 1);
  EXPECT_EQ(m().race.score.bonus, 0);
}

TEST_F(QuizCommand, DoesNothingOutsideARunningLeg) {
  Load(QuizCourse(2));
  for (int32_t state : {kOutOfRace, kArmed, kNearObjectOuter, kNearObjectInner}) {
    m().race.state = state;
    SeedRandom(m().random, 1234);
    RunQuizCommand(m());
    EXPECT_EQ(m().random.state, 1234u) << "nothing drawn in state " << state;
  }
  EXPECT_TRUE(dialogs_opened.empty());
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_EQ(m().scores.unasked_count, 2);
  EXPECT_EQ(State(0) | State(1), 0);
}

TEST_F(QuizCommand, ACourseWithoutQuestionsOpensNoDialog) {
  Load(QuizCourse(0));
  SeedRandom(m().random, 1234);
  RunQuizCommand(m());
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_EQ(m().random.state, 1234u);
  EXPECT_EQ(m().scores.unasked_count, 0);
  EXPECT_EQ(m().quiz.index, -1);
}

TEST_F(QuizCommand, AnAnswerLeftOutOfTheCourseShowsAsEmpty) {
  course_model::Course c = QuizCourse(1);
  c.questions[0].third = "";
  Load(c);
  m().random = GeneratorDrawing(0, 1);  // row 0: answers in course order
  RunQuizCommand(m());
  EXPECT_STREQ(m().quiz.answers[1], "Seconda 0");
  EXPECT_STREQ(m().quiz.answers[2], "") << "not the course file's magic";
}

TEST(QuizDraws, DrawBelowScalesAndFoldsTheTopValue) {
  RandomGenerator g = GeneratorDrawing(32767);
  EXPECT_EQ(DrawBelow(g, 6), 5);
  g = GeneratorDrawing(32766);
  EXPECT_EQ(DrawBelow(g, 6), 5);
  g = GeneratorDrawing(5461);  // 5461 x 6 / 32767 = 0.99997
  EXPECT_EQ(DrawBelow(g, 6), 0);
  g = GeneratorDrawing(5462);
  EXPECT_EQ(DrawBelow(g, 6), 1);
  g = GeneratorDrawing(12345, 3);
  for (int i = 0; i < 3; ++i) NextRandom(g);
  EXPECT_EQ(NextRandom(g), 12345) << "the test generator lands where it is told";
}

// The dialog's own model, as its procedure uses it.
TEST(QuizDialog, OpensWithTheQuestionAndTheFirstSlotChecked) {
  CurrentQuestion q;
  q.question = "Q";
  q.answers[0] = "A";
  q.answers[1] = "B";
  q.answers[2] = "C";
  QuizDialogState state{true, true, 0};
  QuizDialogOpening o = OpenQuizDialog(state, q);
  EXPECT_FALSE(state.answered);
  EXPECT_EQ(o.texts[0].control, 1044);
  EXPECT_STREQ(o.texts[0].text, "Q");
  EXPECT_EQ(o.texts[1].control, 1041);
  EXPECT_STREQ(o.texts[1].text, "A");
  EXPECT_EQ(o.texts[3].control, 1043);
  EXPECT_STREQ(o.texts[3].text, "C");
  EXPECT_EQ(o.checked_control, 1041);
}

TEST(QuizDialog, FirstOkJudgesSecondOkClosesAndTheVerdictIsFinal) {
  CurrentQuestion q;
  q.correct_slot = 2;
  EXPECT_EQ(QuizCorrectControl(q), 1042);
  QuizDialogState state{};
  OpenQuizDialog(state, q);
  EXPECT_EQ(state.correct_control, 1042) << "kept from the opening";
  QuizDialogStep first = QuizDialogCommand(state, 1, true);
  EXPECT_EQ(first.action, QuizDialogAction::kShowVerdict);
  EXPECT_STREQ(first.verdict, "BENE! Risposta CORRETTA!");
  QuizDialogStep second = QuizDialogCommand(state, 1, false);  // another answer picked meanwhile
  EXPECT_EQ(second.action, QuizDialogAction::kEnd);
  EXPECT_EQ(second.result, 1);

  OpenQuizDialog(state, q);
  EXPECT_STREQ(QuizDialogCommand(state, 1, false).verdict, "Spiacente... risposta SBAGLIATA.");
  EXPECT_EQ(QuizDialogCommand(state, 1, true).result, 2);
}

TEST(QuizDialog, EscAndTheCloseBoxLeaveItOpen) {
  QuizDialogState state{};
  OpenQuizDialog(state, CurrentQuestion{});
  EXPECT_EQ(QuizDialogCommand(state, 2, true).action, QuizDialogAction::kIgnore);  // IDCANCEL
  EXPECT_EQ(QuizDialogCommand(state, 1041, true).action, QuizDialogAction::kIgnore);
  EXPECT_FALSE(state.answered) << "an ignored command judges nothing";
  EXPECT_EQ(QuizDialogCommand(state, 2, true).action, QuizDialogAction::kIgnore);
  EXPECT_EQ(QuizDialogCommand(state, 0x00000001, true).action, QuizDialogAction::kShowVerdict);
  EXPECT_EQ(QuizDialogCommand(state, 2, true).action, QuizDialogAction::kIgnore)
      << "not even after the verdict";
}

}  // namespace
