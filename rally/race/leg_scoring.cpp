#include "rally/race/leg_scoring.h"
#include "rally/ui/message_queue.h"

#include "rally/course/course_format.h"
#include "rally/course/course_image.h"
#include "rally/course/score_arithmetic.h"
#include "rally/race/race_texts.h"
#include "rally/race/targets/precision_track.h"
#include "rally/state/module.h"
#include "rally/ui/format_text.h"

using namespace course;

namespace {

void CompleteScore(RallyModule& m, const uint8_t* r, int32_t seconds) {
  LegScore& s = m.race.score;
  s.base = RecordField(r, leg_end::kBasePoints);
  int64_t spare = static_cast<int64_t>(RecordField(r, leg_end::kTimeAllowance)) - seconds;
  s.time = ClampToInt32(spare * RecordField(r, leg_end::kTimeFactor));
  s.aids = ClampToInt32(static_cast<int64_t>(s.aids) * kPointsPerAid);
  if (m.race.track.active) CloseTrack(m);
  s.total = ClampToInt32(static_cast<int64_t>(s.base) + s.bonus + s.time + s.precision + s.aids);
}

void RecordBest(RallyModule& m) {
  const LegScore& s = m.race.score;
  int32_t* best =
      &m.scores.words[score::kLegScoreWord + score::kLegScoreWords * m.race.current_leg];
  const int32_t values[score::kLegScoreWords] = {s.base,      s.bonus, s.time,
                                                 s.precision, s.aids,  s.total};
  for (uint32_t i = 0; i < score::kLegScoreWords; ++i) best[i] = values[i];
  WriteScoreFile(m.scores, m.platform, m.course.path);
  QueueMessage(m, race_text::kNewBest, race_voice::kNewScore, race_timing::kShortMessageSeconds);
}

}  // namespace

void ScoreLeg(RallyModule& m, const uint8_t* r) {
  RaceEngine& race = m.race;
  race.state = kOutOfRace;
  int32_t seconds = race.tick_count / 6;
  race.tick_count = seconds;
  CompleteScore(m, r, seconds);
  const LegScore& s = race.score;
  char text[kMessageTextBytes];
  FormatText(text, sizeof text, race_text::kLegFinished, race.current_leg + 1, seconds, s.total);
  QueueMessage(m, text, nullptr, race_timing::kLongMessageSeconds);
  if (s.total > BestLegTotal(m.scores, race.current_leg) && race.valid_run == 1) RecordBest(m);
  FormatText(text, sizeof text, race_text::kBreakdown, s.base, s.bonus, s.time, s.precision, s.aids,
             s.total);
  QueueMessage(m, text, nullptr, race_timing::kLongMessageSeconds);
  if (s.total <= 0) {
    // What this leg changed and nothing wrote (names, quiz answers) is dropped.
    ReadScoreFile(m.scores, m.platform, m.course.path, CourseQuestionCount(m.course));
    QueueMessage(m, race_text::kNoPoints, race_voice::kNoScore, race_timing::kLongMessageSeconds);
  }
  race.score_pending = true;
}
