#include "rally/race/targets/waypoint.h"
#include "rally/course/course_format.h"
#include "rally/course/course_image.h"
#include "rally/race/aircraft_sample.h"
#include "rally/race/race_texts.h"
#include "rally/race/targets/direction_test.h"
#include "rally/state/module.h"
#include "rally/ui/message_queue.h"

using namespace course;

WaypointTest TestWaypoint(RallyModule& m, const uint8_t* r) {
  AircraftSample a = SampleAircraft(m);
  HostPosition point{FromUpperWord(RecordField(r, waypoint::kLat)),
                     FromUpperWord(RecordField(r, waypoint::kLon)),
                     FromUpperWord(RecordField(r, waypoint::kAlt))};
  WaypointTest t{};
  t.distance = DistanceFromAircraft(m, point);
  int64_t height = static_cast<int64_t>(a.altitude) - RecordField(r, waypoint::kAlt);
  if (height < 0) height = -height;
  t.within_radius = t.distance < RecordField(r, waypoint::kRadius);
  t.altitude = height <= RecordField(r, waypoint::kAltBand);
  t.direction = PassesDirectionTest(a.heading, RecordField(r, waypoint::kHeading));
  return t;
}

bool WaypointSatisfied(RallyModule& m, const uint8_t* r) {
  WaypointTest t = TestWaypoint(m, r);
  if (!t.within_radius || !t.altitude) return false;
  if (t.direction) return true;
  // The waypoint's wrong-direction warning has no voice.
  RaiseAlert(m, race_text::kWrongPassDirection, nullptr, race_timing::kWrongDirectionPriority);
  return false;
}
