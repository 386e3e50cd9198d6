#include "rally/race/bonus/bonus_object.h"

#include "rally/course/course_format.h"
#include "rally/course/course_image.h"
#include "rally/race/bonus/bonus_award.h"
#include "rally/state/module.h"

using namespace course;

namespace {

// Distances from the centre, each as a non-negative 64-bit value.
struct Offsets {
  int64_t latitude, longitude, altitude;
};

int64_t Apart(int32_t v, int32_t centre) {
  int64_t d = static_cast<int64_t>(v) - centre;
  return d < 0 ? -d : d;
}

Offsets OffsetsFromCentre(const uint8_t* r, const AircraftSample& a) {
  return Offsets{Apart(a.latitude, RecordField(r, bonus_object::kLat)),
                 Apart(a.longitude, RecordField(r, bonus_object::kLon)),
                 Apart(a.altitude, RecordField(r, bonus_object::kAlt))};
}

// The three half-sizes of a box start at `half`.
bool StrictlyInside(const uint8_t* r, uint32_t half, const Offsets& o) {
  return o.latitude < RecordField(r, half) && o.longitude < RecordField(r, half + 4) &&
         o.altitude < RecordField(r, half + 8);
}

bool InsideOrOnBounds(const uint8_t* r, uint32_t half, const Offsets& o) {
  return o.latitude <= RecordField(r, half) && o.longitude <= RecordField(r, half + 4) &&
         o.altitude <= RecordField(r, half + 8);
}

bool Refused(int32_t conditions, const AircraftSample& a) {
  if (a.speed > 0 && (conditions & kRefusedMoving)) return true;
  return (conditions & (a.on_ground ? kRefusedOnGround : kRefusedAirborne)) != 0;
}

bool AvailableIn(const uint8_t* r, uint8_t condition) {
  uint32_t bit = kFirstConditionBit + static_cast<uint32_t>(condition);
  if (bit >= 32) return false;  // no flag bit names this condition
  return (static_cast<uint32_t>(RecordField(r, bonus_object::kFlags)) >> bit) & 1u;
}

}  // namespace

bool BonusObjectArms(const uint8_t* r, const AircraftSample& a) {
  if (!AvailableIn(r, a.condition)) return false;
  if (Refused(RecordField(r, bonus_object::kOuterConditions), a)) return false;
  Offsets o = OffsetsFromCentre(r, a);
  return InsideOrOnBounds(r, bonus_object::kOuterHalf, o) &&
         !StrictlyInside(r, bonus_object::kMiddleHalf, o);
}

ApproachStep ApproachBonusObject(RallyModule& m, const uint8_t* r) {
  AircraftSample a = SampleAircraft(m);
  Offsets o = OffsetsFromCentre(r, a);
  int32_t& state = m.race.state;
  state = kOutOfRace;
  int32_t conditions = 0;
  if (StrictlyInside(r, bonus_object::kOuterHalf, o)) {
    state = kNearObjectOuter;
    conditions = RecordField(r, bonus_object::kOuterConditions);
    if (StrictlyInside(r, bonus_object::kMiddleHalf, o)) {
      state = kNearObjectMiddle;
      conditions = RecordField(r, bonus_object::kMiddleConditions);
      if (StrictlyInside(r, bonus_object::kInnerHalf, o)) {
        state = kNearObjectInner;
        conditions = RecordField(r, bonus_object::kInnerConditions);
      }
    }
  }
  if (state == kOutOfRace) return ApproachStep::kDone;
  if (Refused(conditions, a)) {
    if (state == kNearObjectInner) return ApproachStep::kWaitInside;
    // Approached again only from outside the middle box.
    state = kOutOfRace;
    return ApproachStep::kDone;
  }
  if (state != kNearObjectInner) return ApproachStep::kKeepWatching;
  AwardBonusObject(m, r);
  return ApproachStep::kDone;
}
