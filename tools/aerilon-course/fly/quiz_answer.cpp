#include "tools/aerilon-course/fly/quiz_answer.h"

#include "rally/course/course_format.h"
#include "rally/course/course_image.h"
#include "rally/state/module.h"
#include "rally/ui/quiz_dialog.h"

namespace {

// The course's right answer to the question of that text; "" when the
// course has no such question.
std::string RightAnswer(const RallyModule& m, const std::string& question) {
  for (int32_t i = 0; i < CourseQuestionCount(m.course); ++i) {
    const uint8_t* q = CourseQuestion(m.course, i);
    if (question == CourseTextField(m.course, q, course::quiz_question::kQuestion)) {
      return CourseTextField(m.course, q, course::quiz_question::kCorrectAnswer);
    }
  }
  return "";
}

}  // namespace

QuizAnswer AnswerQuiz(const RallyModule& m, const SimDialogRecord& shown) {
  std::string question;
  std::string slots[quiz_dialog::kAnswerControls];
  for (const SimControlText& t : shown.texts) {
    if (t.control == quiz_dialog::kQuestionControl) question = t.text;
    int slot = t.control - quiz_dialog::kFirstAnswerControl;
    if (slot >= 0 && slot < quiz_dialog::kAnswerControls) slots[slot] = t.text;
  }
  std::string right = RightAnswer(m, question);
  QuizAnswer answer;
  answer.slot = 0;
  for (int i = 0; i < quiz_dialog::kAnswerControls; ++i) {
    if (!right.empty() && slots[i] == right) answer.slot = i + 1;
  }
  answer.told = "\"" + question + "\": ";
  if (answer.slot == 0) {
    answer.slot = 1;
    answer.told += "the right answer is not among those shown; answered slot 1";
  } else {
    answer.told += "answered \"" + right + "\" (slot " + std::to_string(answer.slot) + ")";
  }
  return answer;
}
