#pragma once

#include <cstdint>
#include <optional>
#include <string>

// A value as a designer writes it, a number in the field's documented unit
// or a text with its unit ("300 m", "1000 ft", "2.5 NM", "N26 22.5"), and
// its conversion to the course file's units; and back, for the decompiler,
// in the shortest designer's form that converts to exactly the same value.
enum class Dimension {
  kLatitude,   // "N26 22.5" (degrees and minutes), "N26 22 30", or decimal degrees
  kLongitude,  // "E170 32.4", "W5 10", or decimal degrees, east positive
  kAltitude,   // feet; "m" or "ft"
  kDistance,   // metres; "m", "km", "NM" or "ft"
  kSpeed,      // knots; "kt" or "kn"
  kHeading,    // degrees true, 0 to 360 (360 is north); "any"
  kRadial,     // degrees true, 0 to 360
  kAngle,      // degrees, 0 to 180 (a tolerance)
  kSeconds,    // seconds; "s" or "min"
};

struct DesignerValue {
  bool is_number = false;
  double number = 0;  // is_number
  std::string text;   // otherwise
};

// The value in the file's unit; nullopt with `error` saying what was
// expected when it cannot be read or is out of range. TOML's nan and inf
// are no values of any dimension.
std::optional<int32_t> FileUnits(Dimension dimension, const DesignerValue& value,
                                 std::string* error);
// What a value of the dimension is written as, for messages.
std::string ExpectedValue(Dimension dimension);
// A distance in metres (offsets and sizes, converted later).
std::optional<double> Metres(const DesignerValue& value, std::string* error);
// Degrees of a bearing, 0 to 360.
std::optional<double> BearingDegrees(const DesignerValue& value, std::string* error);

// The TOML value the decompiler writes for a stored value: the designer's
// form when one converts back to exactly `units`, else { raw = units }.
std::string DesignerToml(Dimension dimension, int32_t units);
// For half-sizes in metres: the metres (shortest decimals) that convert
// back to `units` with `metres_per_unit`, else { raw = units }.
std::string MetresToml(int32_t units, double metres_per_unit);
// Converts metres to units as the reader does.
std::optional<int32_t> MetresToUnits(double metres, double metres_per_unit);

std::string RawToml(int32_t units);
std::string DimensionName(Dimension dimension);
