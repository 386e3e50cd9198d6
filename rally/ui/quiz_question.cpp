#include "rally/ui/quiz_question.h"

#include "rally/course/course_format.h"
#include "rally/course/course_image.h"

namespace {

// A left-out text is stored as offset 0, which would otherwise read as the
// course file's magic at the start of the image.
const char* QuestionText(const CourseImage& c, const uint8_t* record, uint32_t field) {
  const char* text = CourseTextField(c, record, field);
  return IsNoneReference(c, text) ? "" : text;
}

constexpr uint32_t kAnswerFields[3] = {
    course::quiz_question::kCorrectAnswer,
    course::quiz_question::kSecondAnswer,
    course::quiz_question::kThirdAnswer,
};

}  // namespace

CurrentQuestion MakeCurrentQuestion(const CourseImage& course, int32_t index, int32_t row) {
  const uint8_t* record = CourseQuestion(course, index);
  const int32_t* order = quiz_order::kTable[row];
  CurrentQuestion q;
  q.index = index;
  q.question = QuestionText(course, record, course::quiz_question::kQuestion);
  for (int32_t slot = 0; slot < 3; ++slot) {
    q.answers[slot] = QuestionText(course, record, kAnswerFields[order[slot]]);
  }
  q.correct_slot = order[quiz_order::kCorrectSlotColumn];
  q.points = RecordField(record, course::quiz_question::kPoints);
  return q;
}
