#include "rally/race/targets/precision_track.h"

#include "rally/course/course_format.h"
#include "rally/course/course_image.h"
#include "rally/course/score_arithmetic.h"
#include "rally/race/aircraft_sample.h"
#include "rally/state/module.h"

using namespace course;

namespace {

constexpr int32_t kRightAngle = 16384;

uint32_t AbsoluteValue(int32_t v) {
  return v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v);
}

// Selectors 0, 1 and 2; any other keeps the near zone of the track before.
void PickNearZone(PrecisionTrack& t, int32_t selector) {
  switch (selector) {
    case 0: t.near_zone = 1852; break;
    case 1: t.near_zone = 926; break;
    case 2: t.near_zone = 10; break;
    default: break;
  }
}

// How far the bearing to the reference point is off the radial's line,
// flying towards the point or away from it: at most 16384 (a right angle);
// the exact opposite bearing gives -1, on the line like the radial itself.
int32_t DeviationFromLine(uint16_t bearing, uint16_t radial) {
  int32_t deviation = static_cast<int16_t>(static_cast<uint16_t>(bearing - radial));
  if (deviation < 0) deviation = -deviation;
  if (deviation > kRightAngle) deviation = 32767 - deviation;
  return deviation;
}

}  // namespace

void StartTrack(RallyModule& m, const uint8_t* r) {
  PrecisionTrack& t = m.race.track;
  if (t.active) CloseTrack(m);
  t.largest_deviation = 0;
  t.reference_latitude = FromUpperWord(RecordField(r, track_start::kLat));
  t.reference_longitude = FromUpperWord(RecordField(r, track_start::kLon));
  t.radial = static_cast<uint16_t>(RecordField(r, track_start::kRadial));
  t.tolerance =
      static_cast<int32_t>(AbsoluteValue(RecordField(r, track_start::kTolerance)) & 0xFFFFu);
  t.weight = ClampToInt32(AbsoluteValue(RecordField(r, track_start::kWeight)));
  PickNearZone(t, RecordField(r, track_start::kNearZone));
  t.active = true;
}

void EndTrack(RallyModule& m) {
  if (m.race.track.active) CloseTrack(m);
}

bool MeasureTrackDeviation(RallyModule& m, int32_t* deviation) {
  const PrecisionTrack& t = m.race.track;
  HostPosition reference =
      AtAircraftAltitude(m, HostPosition{t.reference_latitude, t.reference_longitude, 0});
  uint16_t bearing = 0;
  int32_t distance = DistanceFromAircraft(m, reference, &bearing);
  // Close to the point the bearing swings wildly and says nothing.
  if (distance <= t.near_zone) return false;
  *deviation = DeviationFromLine(bearing, t.radial);
  return true;
}

void UpdateTrack(RallyModule& m) {
  PrecisionTrack& t = m.race.track;
  int32_t deviation = 0;
  if (!MeasureTrackDeviation(m, &deviation)) return;
  if (deviation > t.tolerance && deviation > t.largest_deviation) t.largest_deviation = deviation;
}

void CloseTrack(RallyModule& m) {
  PrecisionTrack& t = m.race.track;
  if (t.largest_deviation != 0) {
    // In 64 bits: a heavy weight must not wrap the product into a reward.
    int64_t units = static_cast<int64_t>(t.largest_deviation - t.tolerance) * t.weight;
    double penalty = static_cast<double>(units) * kPenaltyPerHeadingUnit;
    m.race.score.precision = AddClamped(m.race.score.precision, static_cast<int64_t>(penalty));
  }
  t.active = false;
}
