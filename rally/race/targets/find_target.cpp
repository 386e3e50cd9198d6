#include "rally/race/targets/find_target.h"

#include "rally/course/course_format.h"
#include "rally/course/course_image.h"
#include "rally/race/aircraft_sample.h"
#include "rally/state/module.h"

using namespace course;

namespace {

bool IsTargetRecord(int32_t type) {
  return type == kStartGate || type == kGate || type == kWaypoint || type == kLanding ||
         type == kBonusObject;
}

int64_t Whole(int32_t v) {
  return FromUpperWord(v);
}

HostPosition BoxPosition(const uint8_t* r, uint32_t lat_min, uint32_t altitude) {
  return HostPosition{BoxMiddle(RecordField(r, lat_min), RecordField(r, lat_min + 4)),
                      BoxMiddle(RecordField(r, lat_min + 8), RecordField(r, lat_min + 12)),
                      Whole(RecordField(r, altitude))};
}

void TakeWarning(RallyModule& m, const uint8_t* r, uint32_t text, uint32_t voice) {
  m.race.target.warning_text = CourseTextField(m.course, r, text);
  m.race.target.warning_voice = CourseTextField(m.course, r, voice);
}

void PositionTarget(RallyModule& m, const uint8_t* r, int32_t type) {
  Target& t = m.race.target;
  switch (type) {
    case kStartGate:  // a start box has no warning: the last one stays
      t.position = BoxPosition(r, start_gate::kLatMin, start_gate::kAltCentre);
      break;
    case kGate:
      t.position = BoxPosition(r, gate::kLatMin, gate::kAltCentre);
      TakeWarning(m, r, gate::kWarningText, gate::kWarningVoice);
      break;
    case kWaypoint:
      t.position =
          HostPosition{Whole(RecordField(r, waypoint::kLat)), Whole(RecordField(r, waypoint::kLon)),
                       Whole(RecordField(r, waypoint::kAlt))};
      TakeWarning(m, r, waypoint::kWarningText, waypoint::kWarningVoice);
      break;
    case kLanding:
      t.position = BoxPosition(r, landing::kLatMin, landing::kAlt);
      TakeWarning(m, r, landing::kWarningText, landing::kWarningVoice);
      break;
    default:  // kBonusObject: silent
      t.position = HostPosition{Whole(RecordField(r, bonus_object::kLat)),
                                Whole(RecordField(r, bonus_object::kLon)),
                                Whole(RecordField(r, bonus_object::kAlt))};
      t.warning_text = nullptr;
      t.warning_voice = nullptr;
      break;
  }
  t.exists = true;
  t.record = r;
  int32_t distance = DistanceFromAircraft(m, t.position);
  t.smallest_distance = distance;
  t.last_distance = distance;
}

}  // namespace

int64_t BoxMiddle(int32_t low, int32_t high) {
  // (low + high) x 2^31, summed without losing the carry: a box in the
  // western half (negative longitudes) keeps its middle in the west.
  int64_t sum = static_cast<int64_t>(low) + high;
  return static_cast<int64_t>(static_cast<uint64_t>(sum) << 31);
}

void FindNextTarget(RallyModule& m, const uint8_t* record) {
  const uint8_t* image = CourseStart(m.course);
  uint64_t at = static_cast<uint64_t>(record - image);
  // The loader has checked every leg stream; the search still never reads
  // past the image, whatever it is given.
  while (at + 4 <= m.course.size) {
    const uint8_t* r = image + at;
    int32_t type = ::RecordType(r);
    uint32_t size = RecordSize(type);
    if (size == 0 || type == kLegEnd || at + size > m.course.size) break;
    if (IsTargetRecord(type)) {
      PositionTarget(m, r, type);
      return;
    }
    at += size;
  }
  m.race.target.exists = false;
  m.race.target.record = nullptr;
}
