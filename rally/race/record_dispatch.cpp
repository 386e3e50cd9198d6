#include "rally/race/record_dispatch.h"

#include "rally/course/course_format.h"
#include "rally/course/course_image.h"
#include "rally/race/bonus/bonus_object.h"
#include "rally/race/leg_scoring.h"
#include "rally/race/records/collectible.h"
#include "rally/race/records/message_record.h"
#include "rally/race/records/quiz_timer.h"
#include "rally/race/targets/find_target.h"
#include "rally/race/targets/gate.h"
#include "rally/race/targets/landing.h"
#include "rally/race/targets/precision_track.h"
#include "rally/race/targets/waypoint.h"
#include "rally/state/module.h"

using namespace course;

namespace {

bool TargetSatisfied(RallyModule& m, const uint8_t* r, int32_t type) {
  switch (type) {
    case kGate: return GateSatisfied(m, r);
    case kWaypoint: return WaypointSatisfied(m, r);
    default: return LandingSatisfied(m, r);
  }
}

// Executes a record that needs no waiting; false for a type that is none of them.
bool Execute(RallyModule& m, const uint8_t* r, int32_t type) {
  switch (type) {
    case kMessageRecord: RunMessageRecord(m, r); return true;
    case kTrackStart: StartTrack(m, r); return true;
    case kTrackEnd: EndTrack(m); return true;
    case kCollectible: Collect(m, r); return true;
    case kQuizTimer: SetQuizTimer(m, r); return true;
    case kLegEnd: ScoreLeg(m, r); return true;  // the race is left: the entry scan follows
    default: return false;
  }
}

DispatchStep Approach(RallyModule& m, const uint8_t* r) {
  switch (ApproachBonusObject(m, r)) {
    case ApproachStep::kKeepWatching: return DispatchStep::kTickTail;
    case ApproachStep::kWaitInside: return DispatchStep::kTickDone;
    default: return DispatchStep::kNextRecord;
  }
}

}  // namespace

DispatchStep DispatchRecord(RallyModule& m) {
  const uint8_t* r = m.race.record;
  int32_t type = ::RecordType(r);
  if (type == kBonusObject) return Approach(m, r);
  if (type == kGate || type == kWaypoint || type == kLanding) {
    if (!TargetSatisfied(m, r, type)) return DispatchStep::kTickTail;
    m.race.record = r + RecordSize(type);
    FindNextTarget(m, m.race.record);
    return DispatchStep::kNextRecord;
  }
  // A record of no known type stops the leg where it is.
  if (!Execute(m, r, type)) return DispatchStep::kTickTail;
  m.race.record = r + RecordSize(type);
  return DispatchStep::kNextRecord;
}
