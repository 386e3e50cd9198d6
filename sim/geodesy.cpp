#include "sim/geodesy.h"

#include <cmath>

namespace geodesy {

namespace {
constexpr double kTwoTo32 = 4294967296.0;
constexpr double kPi = 3.14159265358979323846;
double Radians(double degrees) {
  return degrees * kPi / 180.0;
}
}  // namespace

double LatitudeDegrees(int64_t latitude) {
  return static_cast<double>(latitude) / kTwoTo32 * 90.0 / kLatitudeUnitsPer90Degrees;
}

double LongitudeDegrees(int64_t longitude) {
  return static_cast<double>(longitude) / kTwoTo32 * 360.0 / kTwoTo32;
}

double AltitudeMetres(int64_t altitude) {
  return static_cast<double>(altitude) / kTwoTo32;
}

int64_t LatitudeFromDegrees(double degrees) {
  return static_cast<int64_t>(std::llround(degrees / 90.0 * kLatitudeUnitsPer90Degrees * kTwoTo32));
}

int64_t LongitudeFromDegrees(double degrees) {
  return static_cast<int64_t>(std::llround(degrees / 360.0 * kTwoTo32 * kTwoTo32));
}

}  // namespace geodesy

void SimDistanceAndBearing(const HostPosition& from, const HostPosition& to, uint32_t* bearing,
                           int32_t* distance) {
  using namespace geodesy;
  double phi1 = Radians(LatitudeDegrees(from.latitude));
  double phi2 = Radians(LatitudeDegrees(to.latitude));
  double dphi = phi2 - phi1;
  double dlambda = Radians(LongitudeDegrees(to.longitude) - LongitudeDegrees(from.longitude));
  double a = std::sin(dphi / 2) * std::sin(dphi / 2) +
             std::cos(phi1) * std::cos(phi2) * std::sin(dlambda / 2) * std::sin(dlambda / 2);
  double ground = kEarthRadius * 2 * std::atan2(std::sqrt(a), std::sqrt(1 - a));
  double height = AltitudeMetres(to.altitude) - AltitudeMetres(from.altitude);
  double metres = std::round(std::sqrt(ground * ground + height * height));
  *distance = metres > 2147483647.0 ? 2147483647 : static_cast<int32_t>(metres);

  double theta = std::atan2(
      std::sin(dlambda) * std::cos(phi2),
      std::cos(phi1) * std::sin(phi2) - std::sin(phi1) * std::cos(phi2) * std::cos(dlambda));
  double units = std::round(theta / (2 * 3.14159265358979323846) * 65536.0);
  int64_t angle = static_cast<int64_t>(units) % 65536;
  if (angle < 0) angle += 65536;
  *bearing = static_cast<uint32_t>(angle);
}
