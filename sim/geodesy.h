#pragma once

#include <cstdint>

#include "rally/host/host_interface.h"

// The stand-in host's geometry, in the simulator's units: latitude 90
// degrees = 10001750 units, longitude 360 degrees = 2^32 units (both in the
// upper 32 bits), altitude in metres.
namespace geodesy {
constexpr double kEarthRadius = 6371000.0;
constexpr double kLatitudeUnitsPer90Degrees = 10001750.0;

double LatitudeDegrees(int64_t latitude);
double LongitudeDegrees(int64_t longitude);
double AltitudeMetres(int64_t altitude);
int64_t LatitudeFromDegrees(double degrees);
int64_t LongitudeFromDegrees(double degrees);
}  // namespace geodesy

// distance_and_bearing as the stand-in host answers it: haversine ground
// distance on a sphere, combined with the height difference and rounded to
// the metre; initial great-circle bearing, true, as a 16-bit angle.
void SimDistanceAndBearing(const HostPosition& from, const HostPosition& to, uint32_t* bearing,
                           int32_t* distance);
