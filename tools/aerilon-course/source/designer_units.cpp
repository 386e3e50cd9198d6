#include "tools/aerilon-course/source/designer_units.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace designer_units {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEarthRadius = 6371000.0;

double Radians(double degrees) {
  return degrees * kPi / 180.0;
}
double Degrees(double radians) {
  return radians * 180.0 / kPi;
}

// Longitude units wrap: 180 degrees east is 2^31, which is -2^31 west.
int32_t WrapLongitude(double units) {
  double wrapped = std::fmod(std::round(units), 4294967296.0);
  if (wrapped >= 2147483648.0) wrapped -= 4294967296.0;
  if (wrapped < -2147483648.0) wrapped += 4294967296.0;
  return static_cast<int32_t>(wrapped);
}

std::string Angle(double degrees, int decimals, char positive, char negative, int width) {
  char hemisphere = degrees < 0 ? negative : positive;
  double magnitude = std::fabs(degrees);
  double scale = std::pow(10.0, decimals);
  // Minutes are rounded first, so that 59.9999 minutes become a whole degree.
  double total_minutes = std::round(magnitude * 60.0 * scale) / scale;
  double whole = std::floor(total_minutes / 60.0 + 1e-12);
  double minutes = total_minutes - whole * 60.0;
  if (minutes < 0) minutes = 0;
  char text[64];
  std::snprintf(text, sizeof text, "%c%0*d %0*.*f", hemisphere, width, static_cast<int>(whole),
                decimals > 0 ? decimals + 3 : 2, decimals, minutes);
  return text;
}

}  // namespace

std::optional<int32_t> RoundToInt32(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  double rounded = std::round(value);  // halves away from zero
  if (rounded < -2147483648.0 || rounded > 2147483647.0) return std::nullopt;
  return static_cast<int32_t>(rounded);
}

int32_t LatitudeUnits(double degrees) {
  return static_cast<int32_t>(std::round(degrees * kLatitudeUnitsPerDegree));
}
int32_t LongitudeUnits(double degrees) {
  return WrapLongitude(degrees * kLongitudeUnitsPerDegree);
}
double LatitudeDegrees(int32_t units) {
  return units / kLatitudeUnitsPerDegree;
}
double LongitudeDegrees(int32_t units) {
  return units / kLongitudeUnitsPerDegree;
}

double MetresPerLatitudeUnit() {
  return Radians(1.0) * kEarthRadius / kLatitudeUnitsPerDegree;
}
double MetresPerLongitudeUnit(int32_t latitude) {
  return Radians(1.0) * kEarthRadius * std::cos(Radians(LatitudeDegrees(latitude))) /
         kLongitudeUnitsPerDegree;
}

bool OffsetNorthEast(int32_t lat, int32_t lon, double north, double east, int32_t* out_lat,
                     int32_t* out_lon) {
  double lat_units = std::round(lat + north / MetresPerLatitudeUnit());
  double lon_units = lon + east / MetresPerLongitudeUnit(lat);
  if (!(std::fabs(lat_units) <= kPoleLatitudeUnits) || !std::isfinite(lon_units)) return false;
  *out_lat = static_cast<int32_t>(lat_units);
  *out_lon = WrapLongitude(lon_units);
  return true;
}

void OffsetDistanceBearing(int32_t lat, int32_t lon, double distance, double degrees,
                           int32_t* out_lat, int32_t* out_lon) {
  double phi1 = Radians(LatitudeDegrees(lat));
  double lambda1 = Radians(LongitudeDegrees(lon));
  double theta = Radians(degrees);
  double delta = distance / kEarthRadius;
  // Rounding may take the sine a hair beyond 1, where asin has no value.
  double phi2 = std::asin(std::clamp(
      std::sin(phi1) * std::cos(delta) + std::cos(phi1) * std::sin(delta) * std::cos(theta), -1.0,
      1.0));
  double lambda2 = lambda1 + std::atan2(std::sin(theta) * std::sin(delta) * std::cos(phi1),
                                        std::cos(delta) - std::sin(phi1) * std::sin(phi2));
  *out_lat = LatitudeUnits(Degrees(phi2));
  *out_lon = WrapLongitude(Degrees(lambda2) * kLongitudeUnitsPerDegree);
}

double GroundDistance(int32_t lat1, int32_t lon1, int32_t lat2, int32_t lon2) {
  double phi1 = Radians(LatitudeDegrees(lat1)), phi2 = Radians(LatitudeDegrees(lat2));
  // The difference wraps like the units, so a pair across 180 degrees is near.
  double dlambda = Radians(LongitudeDegrees(
      static_cast<int32_t>(static_cast<uint32_t>(lon2) - static_cast<uint32_t>(lon1))));
  double a = std::pow(std::sin((phi2 - phi1) / 2), 2) +
             std::cos(phi1) * std::cos(phi2) * std::pow(std::sin(dlambda / 2), 2);
  return 2 * kEarthRadius * std::asin(std::sqrt(std::fmin(1.0, a)));
}

double InitialBearing(int32_t lat1, int32_t lon1, int32_t lat2, int32_t lon2) {
  double phi1 = Radians(LatitudeDegrees(lat1)), phi2 = Radians(LatitudeDegrees(lat2));
  double dlambda = Radians(LongitudeDegrees(
      static_cast<int32_t>(static_cast<uint32_t>(lon2) - static_cast<uint32_t>(lon1))));
  double y = std::sin(dlambda) * std::cos(phi2);
  double x = std::cos(phi1) * std::sin(phi2) - std::sin(phi1) * std::cos(phi2) * std::cos(dlambda);
  double bearing = Degrees(std::atan2(y, x));
  return bearing < 0 ? bearing + 360.0 : bearing;
}

std::string LatitudeText(double degrees, int decimals) {
  return Angle(degrees, decimals, 'N', 'S', 2);
}
std::string LongitudeText(double degrees, int decimals) {
  return Angle(degrees, decimals, 'E', 'W', 3);
}

}  // namespace designer_units
