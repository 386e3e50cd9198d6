#include "rally/race/targets/gate_box.h"

#include "rally/course/course_format.h"
#include "rally/course/course_image.h"

using namespace course;

namespace {

static_assert(start_gate::kLatMin == gate::kLatMin && start_gate::kSpeedMax == gate::kSpeedMax &&
                  start_gate::kHeading == gate::kHeading,
              "a start box and a gate keep their box at the same offsets");

bool Within(int32_t v, int32_t low, int32_t high) {
  return low <= v && v <= high;
}

}  // namespace

GateBoxTest TestGateBox(const uint8_t* r, const AircraftSample& a) {
  int64_t height = static_cast<int64_t>(a.altitude) - RecordField(r, gate::kAltCentre);
  if (height < 0) height = -height;
  return GateBoxTest{
      Within(a.latitude, RecordField(r, gate::kLatMin), RecordField(r, gate::kLatMax)),
      Within(a.longitude, RecordField(r, gate::kLonMin), RecordField(r, gate::kLonMax)),
      height <= RecordField(r, gate::kAltBand),
      Within(a.speed, RecordField(r, gate::kSpeedMin), RecordField(r, gate::kSpeedMax))};
}

bool InsideGateBox(const uint8_t* r, const AircraftSample& a) {
  return TestGateBox(r, a).Inside();
}

int32_t GateHeading(const uint8_t* r) {
  return RecordField(r, gate::kHeading);
}
