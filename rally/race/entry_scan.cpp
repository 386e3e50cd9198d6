#include "rally/race/entry_scan.h"
#include "rally/race/leg_start.h"
#include "rally/ui/message_queue.h"

#include "rally/course/course_format.h"
#include "rally/course/course_image.h"
#include "rally/race/bonus/bonus_object.h"
#include "rally/race/race_texts.h"
#include "rally/race/targets/direction_test.h"
#include "rally/race/targets/find_target.h"
#include "rally/race/targets/gate_box.h"
#include "rally/state/module.h"

using namespace course;

namespace {

void ArmBonusObject(RallyModule& m, const uint8_t* object) {
  m.race.record = object;
  FindNextTarget(m, object);
  m.race.state = kNearObjectOuter;
}

}  // namespace

ScanResult ScanEntries(RallyModule& m) {
  if (!HasCourse(m.course)) return ScanResult::kNothing;
  // One reading serves every entry, the true speed included.
  AircraftSample a = SampleAircraft(m);
  int32_t entries = CourseEntryCount(m.course);
  for (int32_t i = 0; i < entries; ++i) {
    const uint8_t* entry = CourseEntry(m.course, i);
    int32_t type = ::RecordType(entry);
    if (type == kStartGate && m.race.state == kArmed && InsideGateBox(entry, a)) {
      if (PassesDirectionTest(a.heading, GateHeading(entry))) {
        StartLeg(m, i);
        return ScanResult::kLegStarted;
      }
      RaiseAlert(m, race_text::kWrongPassDirection, race_voice::kFailGateDirection,
                 race_timing::kWrongDirectionPriority);
    } else if (type == kBonusObject && BonusObjectArms(entry, a)) {
      ArmBonusObject(m, entry);
      return ScanResult::kNothing;
    }
  }
  return ScanResult::kNothing;
}
