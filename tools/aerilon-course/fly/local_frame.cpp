#include "tools/aerilon-course/fly/local_frame.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEarthRadius = 6371000.0;
constexpr double kLatitudeUnitsPer90 = 10001750.0;
constexpr double kLongitudeUnits = 4294967296.0;
constexpr double kMetresPerDegree = kEarthRadius * kPi / 180.0;

double Radians(double degrees) {
  return degrees * kPi / 180.0;
}

}  // namespace

LatLon FromCourseUnits(int32_t latitude, uint32_t longitude) {
  double lon = longitude * 360.0 / kLongitudeUnits;
  if (lon >= 180) lon -= 360;
  return LatLon{latitude * 90.0 / kLatitudeUnitsPer90, lon};
}

int32_t LatitudeWord(double lat) {
  return static_cast<int32_t>(std::lround(lat * kLatitudeUnitsPer90 / 90.0));
}

uint32_t LongitudeWord(double lon) {
  double units = std::round(lon / 360.0 * kLongitudeUnits);
  return static_cast<uint32_t>(static_cast<int64_t>(units) & 0xFFFFFFFF);
}

EastNorth OffsetBetween(const LatLon& from, const LatLon& to) {
  double dlon = to.lon - from.lon;
  if (dlon > 180) dlon -= 360;
  if (dlon < -180) dlon += 360;
  double mid = Radians((from.lat + to.lat) / 2);
  return EastNorth{dlon * kMetresPerDegree * std::cos(mid), (to.lat - from.lat) * kMetresPerDegree};
}

LatLon Moved(const LatLon& from, const EastNorth& by) {
  double lat = from.lat + by.north / kMetresPerDegree;
  double mid = Radians((from.lat + lat) / 2);
  double lon = from.lon + by.east / (kMetresPerDegree * std::cos(mid));
  if (lon >= 180) lon -= 360;
  if (lon < -180) lon += 360;
  return LatLon{lat, lon};
}

double Length(const EastNorth& o) {
  return std::hypot(o.east, o.north);
}

double BearingOf(const EastNorth& o) {
  return NormalBearing(std::atan2(o.east, o.north) * 180.0 / kPi);
}

EastNorth Direction(double bearing_deg) {
  return EastNorth{std::sin(Radians(bearing_deg)), std::cos(Radians(bearing_deg))};
}

double Dot(const EastNorth& a, const EastNorth& b) {
  return a.east * b.east + a.north * b.north;
}

EastNorth Scaled(const EastNorth& o, double factor) {
  return EastNorth{o.east * factor, o.north * factor};
}

EastNorth Sum(const EastNorth& a, const EastNorth& b) {
  return EastNorth{a.east + b.east, a.north + b.north};
}

double AngleBetween(double a, double b) {
  double d = std::fmod(a - b, 360.0);
  if (d > 180) d -= 360;
  if (d <= -180) d += 360;
  return d;
}

double NormalBearing(double bearing_deg) {
  double b = std::fmod(bearing_deg, 360.0);
  return b < 0 ? b + 360 : b;
}
