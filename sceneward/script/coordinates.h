#pragma once

#include <cstdint>

// Coordinates of the edit script, such as "12G30ME" or "45G30M15.5SN": numbers
// each followed by a unit letter (G degrees, M minutes, S seconds), then an
// optional hemisphere letter, then separators (white space, one comma).
//
// Latitudes come out in latitude units (90 degrees = 10001750), longitudes in
// longitude units (180 degrees = 2^31), the units of the scenery files.
constexpr double kLatitudeUnitsPerSecond = 30.8695987654321;
constexpr double kLongitudeUnitsPerSecond = 3314.01797530864;

// Seconds of arc of the numbers and unit letters at *position, which moves
// past them. A number followed by another letter counts nothing. Numbers
// are decimal (no hexadecimal, infinity or NaN) and may have any number of
// digits: their value counts, not their spelling. False when a number's
// value is not finite (it overflows).
bool ParseAngle(const char** position, double* seconds);

// A coordinate's seconds of arc as the text wrote them (hemisphere applied)
// and as they are read, once wrapped into range: a latitude into
// [-90, 90) degrees, a longitude into [-180, 180).
struct CoordinateSeconds {
  double written;
  double read;
};

// The whole coordinate with hemisphere, wrapping and separators. False as
// for ParseAngle. `seconds`, when given, receives its seconds of arc.
bool ParseLatitude(const char** position, int32_t* units, CoordinateSeconds* seconds = nullptr);
bool ParseLongitude(const char** position, int32_t* units, CoordinateSeconds* seconds = nullptr);
