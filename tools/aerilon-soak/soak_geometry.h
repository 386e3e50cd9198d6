#pragma once

#include <cstdint>

// Local flat-earth arithmetic in the simulator's units, good to a few
// metres over the tens of kilometres a course spans: latitude 90 degrees =
// 10001750 units, longitude 360 degrees = 2^32 units, headings as 16-bit
// angles (0 north, clockwise).
namespace soak_geometry {

double LatitudeUnitsPerMetre();
// Longitude units per metre east at a latitude (in latitude units).
double LongitudeUnitsPerMetre(double latitude_units);
int32_t LatitudeUnits(double degrees);
uint32_t LongitudeUnits(double degrees);

struct Offset {
  double north, east;  // metres
};
// From (lat, lon) to (to_lat, to_lon); longitudes as the 32-bit words they are.
Offset OffsetBetween(double lat, double lon, double to_lat, double to_lon);
double Length(const Offset& o);
uint16_t BearingOf(const Offset& o);
// The unit vector of a heading, north and east.
Offset Direction(uint16_t heading);
// The signed difference a - b, -32768 to 32767.
int32_t AngleDifference(uint16_t a, uint16_t b);

}  // namespace soak_geometry
