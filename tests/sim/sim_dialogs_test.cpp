#include "sim/sim_dialogs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "course_model/course_writer.h"
#include "rally/commands/quiz.h"
#include "rally/module/course_loader.h"
#include "rally/ui/quiz_question.h"
#include "rally/ui/score_summary.h"
#include "tests/support/module_test_support.h"

namespace {

course_model::Course OneQuestionCourse() {
  course_model::Course c;
  c.first_title = "Primo";
  c.second_title = "Secondo";
  c.legs.push_back(course_model::Leg{{{1, 2, 3, 4}, 300, 100, 0, 99999, 65536}, {}, {1, 2, 3}});
  c.questions.push_back({"Quanti piedi in un metro?", "3,28", "2,54", "1,85", 25});
  return c;
}

class SimDialogs : public ModuleOnSim {
 protected:
  void SetUp() override {
    ModuleOnSim::SetUp();
    ASSERT_TRUE(WriteCourseFile(folder_.File("Rally.DAT"), OneQuestionCourse()));
    ASSERT_TRUE(LoadCourse(m()));
  }
  // Question 0 with its answers in the order of row 3: slots show answers
  // 1, 2, 0, so slot 3 is right.
  void AskRowThree() { m().quiz = MakeCurrentQuestion(m().course, 0, 3); }
  static std::vector<int32_t> Controls(const SimDialogRecord& r) {
    std::vector<int32_t> ids;
    for (const SimControlText& t : r.texts) ids.push_back(t.control);
    return ids;
  }
};

TEST_F(SimDialogs, QuizRecordShowsTheQuestionTheAnswersAndTheVerdict) {
  AskRowThree();
  SimDialogAnswers answers;
  answers.quiz_slot = 3;
  SimDialogRecord r = RunSimDialog(m(), kQuizDialog, answers);
  EXPECT_EQ(r.id, 102);
  EXPECT_EQ(Controls(r), (std::vector<int32_t>{1044, 1041, 1042, 1043, 1045}));
  EXPECT_EQ(r.texts[0].text, "Quanti piedi in un metro?");
  EXPECT_EQ(r.texts[1].text, "2,54");
  EXPECT_EQ(r.texts[2].text, "1,85");
  EXPECT_EQ(r.texts[3].text, "3,28");
  EXPECT_EQ(r.texts[4].text, "BENE! Risposta CORRETTA!");
  EXPECT_EQ(r.result, 1);
  EXPECT_TRUE(r.disabled.empty());
}

TEST_F(SimDialogs, TheDefaultQuizAnswerIsThePreselectedFirstSlot) {
  AskRowThree();
  SimDialogRecord r = RunSimDialog(m(), kQuizDialog, SimDialogAnswers{});
  EXPECT_EQ(r.texts.back().control, 1045);
  EXPECT_EQ(r.texts.back().text, "Spiacente... risposta SBAGLIATA.");
  EXPECT_EQ(r.result, 2);
}

TEST_F(SimDialogs, SummaryRecordCarriesItsLinesAndTheButtonPressed) {
  m().race.state = kLegRunning;
  m().race.current_leg = 0;
  PrepareLegStatusLine(m());
  SimDialogAnswers answers;
  SimDialogRecord ok = RunSimDialog(m(), kScoreSummaryDialog, answers);
  EXPECT_EQ(ok.id, 101);
  EXPECT_EQ(Controls(ok),
            (std::vector<int32_t>{1000, 1001, 1002, 1003, 1015, 1016, 1019, 1018, 1046}));
  EXPECT_EQ(ok.texts[2].text, "Tratta n\xB0 1 in corso");
  EXPECT_EQ(ok.result, 1);
  EXPECT_TRUE(ok.disabled.empty());

  answers.summary = SimSummaryButton::kExit;
  EXPECT_EQ(RunSimDialog(m(), kScoreSummaryDialog, answers).result, 1040);
}

TEST_F(SimDialogs, ExitWhileGreyedClosesAsOk) {
  m().race.state = kOutOfRace;
  SimDialogAnswers answers;
  answers.summary = SimSummaryButton::kExit;
  SimDialogRecord r = RunSimDialog(m(), kScoreSummaryDialog, answers);
  EXPECT_EQ(r.disabled, (std::vector<int32_t>{1040}));
  EXPECT_EQ(r.result, 1);
}

TEST_F(SimDialogs, CreditsCloseWithOneAndAnUnknownDialogCannotBeCreated) {
  SimDialogRecord credits = RunSimDialog(m(), kCreditsDialog, SimDialogAnswers{});
  EXPECT_TRUE(credits.texts.empty());
  EXPECT_EQ(credits.result, 1);
  EXPECT_EQ(RunSimDialog(m(), 103, SimDialogAnswers{}).result, -1);
}

// The one call the stand-in's run_dialog makes, from the quiz command on.
TEST_F(SimDialogs, HookedIntoTheStandInTheQuizBooksWhatThePilotAnswered) {
  m().race.state = kLegRunning;
  std::vector<SimDialogRecord> records;
  SimDialogAnswers answers;
  host_.run_dialog = [&](int32_t id) {
    records.push_back(RunSimDialog(m(), id, answers));
    return records.back().result;
  };
  SeedRandom(m().random, 7);
  RunQuizCommand(m());
  ASSERT_EQ(records.size(), 1u);
  bool right = m().quiz.correct_slot == 1;
  EXPECT_EQ(records[0].result, right ? 1 : 2);
  EXPECT_EQ(m().race.score.bonus, right ? 25 : 0);
  EXPECT_EQ(m().scores.wrong_count, right ? 0 : 1);
}

}  // namespace
