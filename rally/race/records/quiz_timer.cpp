#include "rally/race/records/quiz_timer.h"
#include "rally/course/course_format.h"
#include "rally/course/course_image.h"
#include "rally/course/score_arithmetic.h"
#include "rally/state/module.h"

using namespace course;

void SetQuizTimer(RallyModule& m, const uint8_t* r) {
  if (m.race.valid_run != 1 || CourseQuestionCount(m.course) < 1) return;
  int64_t ticks = static_cast<int64_t>(RecordField(r, quiz_timer::kDelay)) * 6;
  // A later timer replaces one still running. A negative delay would never
  // count down: it schedules nothing, like a delay of 0.
  m.race.quiz_countdown = ticks < 0 ? 0 : ClampToInt32(ticks);
}
