#include "tools/aerilon-soak/soak_geometry.h"

#include <cmath>

namespace soak_geometry {
namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kEarthRadius = 6371000.0;
constexpr double kLatitudeUnitsPerDegree = 10001750.0 / 90.0;
constexpr double kLongitudeUnitsPerDegree = 4294967296.0 / 360.0;
constexpr double kMetresPerDegree = kEarthRadius * kPi / 180.0;
constexpr double kAngleUnitsPerRadian = 65536.0 / (2 * kPi);
}  // namespace

double LatitudeUnitsPerMetre() {
  return kLatitudeUnitsPerDegree / kMetresPerDegree;
}

double LongitudeUnitsPerMetre(double latitude_units) {
  double radians = latitude_units / kLatitudeUnitsPerDegree * kPi / 180.0;
  return kLongitudeUnitsPerDegree / (kMetresPerDegree * std::cos(radians));
}

int32_t LatitudeUnits(double degrees) {
  return static_cast<int32_t>(std::lround(degrees * kLatitudeUnitsPerDegree));
}

uint32_t LongitudeUnits(double degrees) {
  double units = std::fmod(degrees + 360.0, 360.0) * kLongitudeUnitsPerDegree;
  return static_cast<uint32_t>(static_cast<int64_t>(units));
}

Offset OffsetBetween(double lat, double lon, double to_lat, double to_lon) {
  // Longitude words wrap at 2^32: the short way round.
  double dlon = std::remainder(to_lon - lon, 4294967296.0);
  return Offset{(to_lat - lat) / LatitudeUnitsPerMetre(), dlon / LongitudeUnitsPerMetre(lat)};
}

double Length(const Offset& o) {
  return std::hypot(o.north, o.east);
}

uint16_t BearingOf(const Offset& o) {
  double angle = std::atan2(o.east, o.north) * kAngleUnitsPerRadian;
  return static_cast<uint16_t>(static_cast<int32_t>(std::lround(angle)) & 0xFFFF);
}

Offset Direction(uint16_t heading) {
  double radians = heading / kAngleUnitsPerRadian;
  return Offset{std::cos(radians), std::sin(radians)};
}

int32_t AngleDifference(uint16_t a, uint16_t b) {
  return static_cast<int16_t>(static_cast<uint16_t>(a - b));
}

}  // namespace soak_geometry
