#include "rally/race/records/message_record.h"
#include "rally/course/course_format.h"
#include "rally/course/course_image.h"
#include "rally/state/module.h"
#include "rally/ui/message_queue.h"

using namespace course;

void RunMessageRecord(RallyModule& m, const uint8_t* r) {
  // A none text or a time of 0 shows nothing; a none voice plays nothing.
  QueueMessage(m, CourseTextField(m.course, r, message_record::kText),
               CourseTextField(m.course, r, message_record::kVoice),
               RecordField(r, message_record::kSeconds));
}
