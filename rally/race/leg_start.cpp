#include "rally/race/leg_start.h"
#include "rally/course/course_format.h"
#include "rally/course/course_image.h"
#include "rally/race/race_texts.h"
#include "rally/race/targets/find_target.h"
#include "rally/state/module.h"
#include "rally/ui/format_text.h"
#include "rally/ui/message_queue.h"

namespace {

// A leg counts only when every leg before it has a recorded positive total.
int32_t EarlierLegsRecorded(const RallyModule& m, int32_t entry) {
  for (int32_t leg = 0; leg < entry; ++leg) {
    if (BestLegTotal(m.scores, leg) <= 0) return 0;
  }
  return 1;
}

}  // namespace

void StartLeg(RallyModule& m, int32_t entry) {
  RaceEngine& race = m.race;
  race.state = kLegRunning;
  race.current_leg = entry;
  race.record = CourseEntry(m.course, entry) + course::RecordSize(course::kStartGate);
  race.score = LegScore{};
  // A track an aborted leg left open belongs to that leg, not to this one.
  race.track.active = false;
  FindNextTarget(m, race.record);
  race.tick_count = 0;
  race.valid_run = EarlierLegsRecorded(m, entry);
  char text[kMessageTextBytes];
  FormatText(text, sizeof text, race_text::kLegStarted, entry + 1);
  QueueMessage(m, text, race_voice::kStart, race_timing::kShortMessageSeconds);
  if (race.valid_run == 0) {
    QueueMessage(m, race_text::kEarlierLegsMissing, race_voice::kInvalid,
                 race_timing::kShortMessageSeconds);
  }
}
