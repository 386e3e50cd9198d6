#include "rally/race/records/collectible.h"
#include "rally/course/course_format.h"
#include "rally/course/course_image.h"
#include "rally/course/score_arithmetic.h"
#include "rally/race/race_texts.h"
#include "rally/state/module.h"
#include "rally/ui/format_text.h"
#include "rally/ui/message_queue.h"

using namespace course;

void Collect(RallyModule& m, const uint8_t* r) {
  int32_t points = RecordField(r, collectible::kPoints);
  m.race.score.bonus = AddClamped(m.race.score.bonus, points);
  const char* name = CourseTextField(m.course, r, collectible::kName);
  bool named = !IsNoneReference(m.course, name);
  int32_t slot = RecordField(r, collectible::kNameSlot);
  // Names only count towards the hidden word on a run that can be recorded.
  if (named && slot >= 0 && slot < score::kNameSlots && m.race.valid_run == 1) {
    m.scores.name_slots[slot] = name;
  }
  char text[kMessageTextBytes];
  FormatText(text, sizeof text, race_text::kCollected, named ? name : "", points);
  QueueMessage(m, text, race_voice::kBonus, race_timing::kShortMessageSeconds);
}
