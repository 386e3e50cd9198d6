#include "tools/aerilon-course/fly/course_crossings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "rally/course/course_format.h"
#include "rally/course/course_image.h"
#include "rally/race/targets/direction_test.h"
#include "rally/state/module.h"

using namespace course;

namespace {

// A target this close to a track's line is flown along the line.
constexpr double kOnTrackM = 250;
// The most a target's own course may differ from the track's line.
constexpr double kTrackCourseDeg = 40;

std::optional<double> RequiredCourse(int32_t heading) {
  if (heading >= kAnyDirection) return std::nullopt;
  return static_cast<uint16_t>(heading) * 360.0 / 65536;
}

double Knots(int32_t units) {
  return units / 128.0;
}

struct Box {
  LatLon centre;
  double east_half = 0, north_half = 0;
};

// The box of a start box, gate or landing (the same offsets in all three).
Box BoxOf(const uint8_t* r) {
  int32_t lat_min = RecordField(r, gate::kLatMin), lat_max = RecordField(r, gate::kLatMax);
  uint32_t lon_min = static_cast<uint32_t>(RecordField(r, gate::kLonMin));
  uint32_t lon_max = static_cast<uint32_t>(RecordField(r, gate::kLonMax));
  LatLon low = FromCourseUnits(lat_min, lon_min), high = FromCourseUnits(lat_max, lon_max);
  EastNorth size = OffsetBetween(low, high);
  Box box;
  box.centre = Moved(low, Scaled(size, 0.5));
  box.east_half = std::fabs(size.east) / 2;
  box.north_half = std::fabs(size.north) / 2;
  return box;
}

double AlongHalf(const Box& box, std::optional<double> course) {
  if (!course) return std::min(box.east_half, box.north_half);
  EastNorth u = Direction(*course);
  return std::min(box.east_half / std::max(std::fabs(u.east), 1e-6),
                  box.north_half / std::max(std::fabs(u.north), 1e-6));
}

CourseCrossing BoxCrossing(const uint8_t* r, const AircraftLimits& limits) {
  CourseCrossing c;
  Box box = BoxOf(r);
  c.own_course_deg = RequiredCourse(RecordField(r, gate::kHeading));
  c.crossing.centre = box.centre;
  c.crossing.course_deg = c.own_course_deg;
  c.crossing.along_half_m = AlongHalf(box, c.own_course_deg);
  c.crossing.altitude_m = RecordField(r, gate::kAltCentre);
  c.crossing.band_half_m = RecordField(r, gate::kAltBand);
  double low = Knots(RecordField(r, gate::kSpeedMin)),
         high = Knots(RecordField(r, gate::kSpeedMax));
  c.crossing.speed_kt = SpeedInside(low, high, limits, &c.speed_possible);
  double margin = std::min(3.0, (high - low) / 4);
  c.crossing.speed_low_kt = std::min(low + margin, c.crossing.speed_kt);
  c.crossing.speed_high_kt = std::max(high - margin, c.crossing.speed_kt);
  if (!c.speed_possible) {
    char text[160];
    std::snprintf(text, sizeof text,
                  "its speed range %.0f to %.0f kn is beyond the aircraft (%.0f to %.0f kn)", low,
                  high, limits.min_speed_kt, limits.max_speed_kt);
    c.impossible = text;
  }
  return c;
}

CourseCrossing LandingCrossing(const uint8_t* r, const FlyingAircraft& a,
                               const AircraftLimits& limits) {
  CourseCrossing c;
  Box box = BoxOf(r);
  c.own_course_deg = RequiredCourse(RecordField(r, landing::kHeading));
  std::optional<double> course = c.own_course_deg;
  if (!course) {
    // Along the longer side, from the end nearer the aircraft.
    double axis = box.north_half >= box.east_half ? 0 : 90;
    double to_box = BearingOf(OffsetBetween(a.position, box.centre));
    course = std::fabs(AngleBetween(to_box, axis)) <= 90 ? axis : axis + 180;
  }
  c.crossing.centre = box.centre;
  c.crossing.course_deg = course;
  c.own_course_deg = course;
  c.crossing.along_half_m = AlongHalf(box, course);
  c.crossing.altitude_m = RecordField(r, landing::kAlt);
  c.crossing.speed_kt = limits.approach_speed_kt;
  c.crossing.speed_low_kt = c.crossing.speed_high_kt = limits.approach_speed_kt;
  c.crossing.landing = true;
  return c;
}

CourseCrossing WaypointCrossing(const uint8_t* r, const AircraftLimits& limits) {
  CourseCrossing c;
  c.own_course_deg = RequiredCourse(RecordField(r, waypoint::kHeading));
  c.crossing.centre = FromCourseUnits(RecordField(r, waypoint::kLat),
                                      static_cast<uint32_t>(RecordField(r, waypoint::kLon)));
  c.crossing.course_deg = c.own_course_deg;
  c.crossing.along_half_m = RecordField(r, waypoint::kRadius);
  c.crossing.altitude_m = RecordField(r, waypoint::kAlt);
  c.crossing.band_half_m = RecordField(r, waypoint::kAltBand);
  c.crossing.speed_kt = ManoeuvringSpeed(limits);
  // A waypoint asks for no speed: whatever the aircraft flies will do.
  c.crossing.speed_low_kt = limits.min_speed_kt;
  c.crossing.speed_high_kt = limits.max_speed_kt;
  return c;
}

}  // namespace

double SpeedInside(double low_kt, double high_kt, const AircraftLimits& limits, bool* possible) {
  double low = std::max(low_kt, limits.min_speed_kt);
  double high = std::min(high_kt, limits.max_speed_kt);
  *possible = low <= high;
  if (!*possible) return high_kt < limits.min_speed_kt ? limits.min_speed_kt : limits.max_speed_kt;
  double margin = std::min(5.0, (high - low) / 4);
  return std::clamp(ManoeuvringSpeed(limits), low + margin, high - margin);
}

CourseCrossing StartBoxCrossing(const RallyModule&, const uint8_t* record,
                                const AircraftLimits& limits) {
  return BoxCrossing(record, limits);
}

CourseCrossing TargetCrossing(const RallyModule&, const uint8_t* record,
                              const FlyingAircraft& aircraft, const AircraftLimits& limits) {
  switch (::RecordType(record)) {
    case kLanding: return LandingCrossing(record, aircraft, limits);
    case kWaypoint: return WaypointCrossing(record, limits);
    default: return BoxCrossing(record, limits);
  }
}

void OnTrack(const RallyModule& m, const FlyingAircraft& a, CourseCrossing* c) {
  c->crossing.course_deg = c->own_course_deg;
  c->crossing.line_point.reset();
  const PrecisionTrack& track = m.race.track;
  if (!track.active) return;
  LatLon reference = FromCourseUnits(static_cast<int32_t>(track.reference_latitude >> 32),
                                     static_cast<uint32_t>(track.reference_longitude >> 32));
  double radial = track.radial * 360.0 / 65536;
  EastNorth from_reference = OffsetBetween(reference, c->crossing.centre);
  if (std::fabs(Dot(from_reference, Direction(radial + 90))) > kOnTrackM) return;
  double wanted =
      c->own_course_deg.value_or(BearingOf(OffsetBetween(a.position, c->crossing.centre)));
  double course = std::fabs(AngleBetween(wanted, radial)) <= 90 ? radial : radial + 180;
  if (std::fabs(AngleBetween(wanted, course)) > kTrackCourseDeg) return;
  c->crossing.course_deg = NormalBearing(course);
  c->crossing.line_point = reference;
}
