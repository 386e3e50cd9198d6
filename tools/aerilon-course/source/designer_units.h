#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The conversions between a designer's units and the course file's, with
// one rounding rule everywhere: to the nearest whole file unit, halves
// away from zero. The file's units: latitude 90 degrees = 10001750 units,
// longitude 360 degrees = 2^32 units (east positive, 180 degrees wrapping
// to -2^31), altitudes and distances in metres, speeds in knots x 128,
// headings in 16-bit angles (65536 = 360 degrees, true). Distances on the
// ground are those of the stand-in simulator's sphere of radius 6371000 m.
namespace designer_units {

constexpr double kLatitudeUnitsPerDegree = 10001750.0 / 90.0;
constexpr double kLongitudeUnitsPerDegree = 4294967296.0 / 360.0;
constexpr double kMetresPerFoot = 0.3048;
constexpr double kMetresPerNauticalMile = 1852.0;
constexpr double kHeadingUnitsPerDegree = 65536.0 / 360.0;
constexpr int32_t kSpeedUnitsPerKnot = 128;
constexpr int32_t kAnyHeading = 65536;
constexpr int32_t kPoleLatitudeUnits = 10001750;  // 90 degrees
// Half the sphere's circumference: no offset between two points is longer.
constexpr double kHalfwayRoundMetres = 3.14159265358979323846 * 6371000.0;

// Rounds to the nearest integer, halves away from zero; nullopt when the
// result does not fit 32 bits.
std::optional<int32_t> RoundToInt32(double value);

int32_t LatitudeUnits(double degrees);   // degrees within -90 to 90
int32_t LongitudeUnits(double degrees);  // degrees within -180 to 180
double LatitudeDegrees(int32_t units);
double LongitudeDegrees(int32_t units);  // -180 to 180

// Metres along the ground per latitude unit, and per longitude unit at a
// latitude (in units).
double MetresPerLatitudeUnit();
double MetresPerLongitudeUnit(int32_t latitude);

// A point `north` and `east` metres from another: along the meridian, then
// along the parallel at the first point's latitude. False when that point
// lies beyond a pole.
bool OffsetNorthEast(int32_t lat, int32_t lon, double north, double east, int32_t* out_lat,
                     int32_t* out_lon);
// The point `distance` metres from another on the initial true bearing
// `degrees`, on the sphere (what distance_and_bearing measures back).
void OffsetDistanceBearing(int32_t lat, int32_t lon, double distance, double degrees,
                           int32_t* out_lat, int32_t* out_lon);
// Ground distance in metres and initial true bearing in degrees between
// two points in the file's units.
double GroundDistance(int32_t lat1, int32_t lon1, int32_t lat2, int32_t lon2);
double InitialBearing(int32_t lat1, int32_t lon1, int32_t lat2, int32_t lon2);

// "N26 22.564" and "E170 32.4100": hemisphere letter, whole degrees, and
// minutes with the given number of decimals.
std::string LatitudeText(double degrees, int decimals);
std::string LongitudeText(double degrees, int decimals);

}  // namespace designer_units
