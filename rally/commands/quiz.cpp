#include "rally/commands/quiz.h"
#include "rally/course/score_arithmetic.h"
#include "rally/ui/score_summary.h"

#include <cstdint>

#include "rally/course/course_format.h"
#include "rally/state/module.h"
#include "rally/ui/dialog_gate.h"
#include "rally/ui/quiz_choice.h"
#include "rally/ui/quiz_dialog.h"

namespace {

// The score table keeps state for at most 40 questions; the course check
// refuses a course with more, so the bound only guards the table.
int32_t QuestionCount(const RallyModule& m) {
  if (!HasCourse(m.course)) return 0;
  int32_t count = CourseQuestionCount(m.course);
  return count < course::kMaxQuestions ? count : course::kMaxQuestions;
}

int32_t& QuestionState(RallyModule& m, int32_t question) {
  return m.scores.words[score::kQuizStateWord + question];
}

// A right answer clears a wrong mark and earns the points; anything else (a
// wrong answer, or a dialog that could not be created) marks the question
// to be asked again.
void BookAnswer(RallyModule& m, const CurrentQuestion& asked, int32_t result) {
  int32_t& state = QuestionState(m, asked.index);
  if (result == quiz_dialog::kRightResult) {
    if (state & score::kQuizWrong) {
      state &= ~score::kQuizWrong;
      m.scores.wrong_count -= 1;
    }
    m.race.score.bonus = AddClamped(m.race.score.bonus, asked.points);
  } else if ((state & score::kQuizWrong) == 0) {
    state |= score::kQuizWrong;
    m.scores.wrong_count += 1;
  }
}

}  // namespace

void RunQuizCommand(RallyModule& m) {
  if (m.race.state != kLegRunning) return;
  int32_t index = ChooseQuizQuestion(m.scores, m.random, QuestionCount(m));
  if (index < 0) return;  // a course without questions: nothing to ask
  int32_t row = ChooseAnswerOrder(m.random);
  // Booked from a copy: the dialog judges the question it was opened with,
  // whatever happens to the module's current question meanwhile.
  const CurrentQuestion asked = MakeCurrentQuestion(m.course, index, row);
  m.quiz = asked;
  BookAnswer(m, asked, RunModuleDialog(m, kQuizDialog, true));
}
