#include "rally/race/bonus/bonus_award.h"
#include "rally/ui/message_queue.h"

#include "rally/course/course_format.h"
#include "rally/course/course_image.h"
#include "rally/course/score_arithmetic.h"
#include "rally/race/bonus/bonus_object.h"
#include "rally/race/race_texts.h"
#include "rally/state/module.h"
#include "rally/ui/format_text.h"

using namespace course;

namespace {

int32_t DrawValue(RallyModule& m, const uint8_t* r) {
  int32_t p = DrawPercent(NextRandom(m.random));
  if (p < RecordField(r, bonus_object::kAlternativePercent)) {
    return RecordField(r, bonus_object::kAlternativeValue);
  }
  return RecordField(r, bonus_object::kNormalValue);
}

// Adds the value to the percentage or the points and words the message;
// returns its voice. A value of 0 is announced as a malus of 0.
const char* Book(RallyModule& m, const uint8_t* r, int32_t value, char* text, size_t size) {
  bool percentage = (RecordField(r, bonus_object::kFlags) & kPercentageValue) != 0;
  int32_t& word = m.scores.words[percentage ? score::kPercentageWord : score::kBonusPointsWord];
  word = AddClamped(word, value);
  if (value > 0) {
    FormatText(text, size, percentage ? race_text::kPercentBonus : race_text::kPointsBonus, value);
    return race_voice::kBonus;
  }
  FormatText(text, size, percentage ? race_text::kPercentMalus : race_text::kPointsMalus,
             NegatedClamped(value));
  return race_voice::kMalus;
}

}  // namespace

int32_t DrawPercent(int32_t r) {
  return r * 100 / 32767;
}

void AwardBonusObject(RallyModule& m, const uint8_t* r) {
  m.race.state = kOutOfRace;
  int32_t slot = RecordField(r, bonus_object::kCounterSlot);
  // The loader keeps slots within 0 to 19; an object outside them has no counter.
  if (slot < 0 || slot >= course::kScoreSlots) return;
  int32_t& takes = m.scores.words[score::kTakeCounterWord + slot];
  if (takes >= RecordField(r, bonus_object::kMaxTakes)) return;
  takes += 1;
  char text[kMessageTextBytes];
  const char* voice = Book(m, r, DrawValue(m, r), text, sizeof text);
  // A failed write is silent: the award still counts in memory.
  WriteScoreFile(m.scores, m.platform, m.course.path);
  QueueMessage(m, text, voice, race_timing::kLongMessageSeconds);
}
