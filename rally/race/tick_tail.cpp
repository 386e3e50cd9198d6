#include "rally/race/tick_tail.h"
#include "rally/ui/message_queue.h"

#include "rally/race/aircraft_sample.h"
#include "rally/race/race_commands.h"
#include "rally/race/race_texts.h"
#include "rally/race/targets/precision_track.h"
#include "rally/state/module.h"

namespace {

TailResult WatchTargetDistance(RallyModule& m) {
  Target& t = m.race.target;
  // With no target left the last target's position serves.
  int64_t d = DistanceFromAircraft(m, AtAircraftAltitude(m, t.position));
  if (d - t.last_distance > kTeleportMetres) {
    ResetRace(m);
    return TailResult::kTeleported;
  }
  t.last_distance = static_cast<int32_t>(d);
  if (d <= t.smallest_distance) {
    t.smallest_distance = static_cast<int32_t>(d);
  } else if (d - t.smallest_distance > t.smallest_distance / 10) {
    RaiseAlert(m, t.warning_text, t.warning_voice, race_timing::kFlyingAwayPriority);
    t.smallest_distance = static_cast<int32_t>(d);
  }
  return TailResult::kContinue;
}

}  // namespace

TailResult RunTickTail(RallyModule& m) {
  if (m.race.track.active) UpdateTrack(m);
  if ((m.race.tick_count & kDistanceCheckMask) != 0) return TailResult::kContinue;
  return WatchTargetDistance(m);
}
