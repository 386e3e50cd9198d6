#include "tests/win32/rally_host/balloon_course_win32.h"

#include "examples/compiled_sample_course.h"
#include "rally/host/host_interface.h"
#include "tests/win32/rally_host/rally_dll_run_win32.h"

using namespace course_model;

namespace {

constexpr int32_t kCentreLat = 0x002CB9F3;
constexpr int32_t kCentreLon = 0x79457C16;
constexpr int32_t kCentreAlt = 300;
constexpr int32_t kLonUnitsPerMetre = 120;

}  // namespace

Course BalloonCourse() {
  Course c = SampleCourse();
  BonusObject b{};
  b.lat = kCentreLat;
  b.lon = kCentreLon;
  b.alt = kCentreAlt;
  b.outer = BonusBox{600, 600 * kLonUnitsPerMetre, 200, 0};
  b.middle = BonusBox{300, 300 * kLonUnitsPerMetre, 100, 0};
  b.inner = BonusBox{100, 100 * kLonUnitsPerMetre, 50, 0};
  b.flags = 1 << 6;
  b.counter_slot = 0;
  b.max_takes = 1;
  b.normal_value = 50;
  c.bonus_objects = {b};
  return c;
}

void PlaceAircraft(SimHost& host, int32_t metres_north) {
  SetSimAircraftLatitude(host.state, FromUpperWord(kCentreLat + metres_north));
  SetSimAircraftLongitude(host.state, FromUpperWord(kCentreLon));
  SetSimAircraftAltitude(host.state, FromUpperWord(kCentreAlt));
}

void FlyIntoTheBalloon(DllRun& run) {
  PlaceAircraft(run.host, 450);  // inside the outer box, outside the middle one
  run.Ticks(1);
  PlaceAircraft(run.host, 0);
  run.Ticks(1);
}
