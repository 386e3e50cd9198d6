#include "tools/aerilon-course/source/designer_values.h"

#include <cctype>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tools/aerilon-course/source/designer_units.h"

using namespace designer_units;

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Trim(const std::string& s) {
  size_t begin = s.find_first_not_of(" \t");
  if (begin == std::string::npos) return "";
  return s.substr(begin, s.find_last_not_of(" \t") - begin + 1);
}

// A decimal number filling the whole text ("12", "-3.5", "1e3" is refused).
std::optional<double> Number(const std::string& text) {
  if (text.empty()) return std::nullopt;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c)) && c != '.' && c != '-' && c != '+') {
      return std::nullopt;
    }
  }
  char* end = nullptr;
  double value = std::strtod(text.c_str(), &end);
  if (end != text.c_str() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

// "12.5 NM" as 12.5 and "nm"; a text without a unit gives "".
bool SplitUnit(const std::string& text, double* number, std::string* unit) {
  std::string t = Trim(text);
  size_t split = t.size();
  while (split > 0 && std::isalpha(static_cast<unsigned char>(t[split - 1]))) --split;
  std::optional<double> n = Number(Trim(t.substr(0, split)));
  if (!n) return false;
  *number = *n;
  *unit = Lower(t.substr(split));
  return true;
}

struct UnitScale {
  const char* name;
  double factor;  // file units per designer unit
};

// A number with one of the units, or bare in the first unit.
std::optional<double> Scaled(const DesignerValue& value, const std::vector<UnitScale>& units) {
  if (value.is_number && !std::isfinite(value.number)) return std::nullopt;  // TOML's nan and inf
  if (value.is_number) return value.number * units[0].factor;
  double number = 0;
  std::string unit;
  if (!SplitUnit(value.text, &number, &unit)) return std::nullopt;
  if (unit.empty()) return number * units[0].factor;
  for (const UnitScale& u : units) {
    if (unit == u.name) return number * u.factor;
  }
  return std::nullopt;
}

const std::vector<UnitScale> kAltitudeUnits = {{"ft", kMetresPerFoot}, {"m", 1.0}};
const std::vector<UnitScale> kDistanceUnits = {
    {"m", 1.0}, {"km", 1000.0}, {"nm", kMetresPerNauticalMile}, {"ft", kMetresPerFoot}};
const std::vector<UnitScale> kSpeedUnits = {
    {"kt", kSpeedUnitsPerKnot}, {"kts", kSpeedUnitsPerKnot}, {"kn", kSpeedUnitsPerKnot}};
const std::vector<UnitScale> kSecondUnits = {{"s", 1.0}, {"min", 60.0}};
const std::vector<UnitScale> kDegreeUnits = {{"deg", 1.0}};

// Degrees, minutes and seconds with a hemisphere letter before or after
// ("N26 22.5", "26 22 30 N"), or signed decimal degrees without one.
// Minutes or seconds of 60 or more are told as such in `reason`.
std::optional<double> Coordinate(const DesignerValue& value, char positive, char negative,
                                 double limit, std::string* reason) {
  double degrees = 0;
  if (value.is_number && !std::isfinite(value.number)) return std::nullopt;
  if (value.is_number) {
    degrees = value.number;
  } else {
    std::string t = Trim(value.text);
    int sign = 0;
    auto take_letter = [&](char c) {
      char up = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
      if (up == positive) sign = 1;
      if (up == negative) sign = -1;
      return up == positive || up == negative;
    };
    if (!t.empty() && take_letter(t.front())) t = t.substr(1);
    if (sign == 0 && !t.empty() && take_letter(t.back())) t.pop_back();
    for (char& c : t) {
      if (c == '\'' || c == '"') c = ' ';
    }
    // The degree sign is two bytes in UTF-8.
    for (size_t at = t.find("\xC2\xB0"); at != std::string::npos; at = t.find("\xC2\xB0")) {
      t.replace(at, 2, " ");
    }
    std::vector<double> parts;
    size_t i = 0;
    while (i < t.size()) {
      size_t end = t.find(' ', i);
      if (end == std::string::npos) end = t.size();
      if (end > i) {
        std::optional<double> n = Number(t.substr(i, end - i));
        if (!n) return std::nullopt;
        parts.push_back(*n);
      }
      i = end + 1;
    }
    if (parts.empty() || parts.size() > 3) return std::nullopt;
    if (sign != 0 || parts.size() > 1) {
      for (size_t k = 0; k < parts.size(); ++k) {
        if (k > 0 && parts[k] >= 60) {
          *reason = std::string(k == 1 ? "minutes" : "seconds") + " must be under 60";
          return std::nullopt;
        }
        if (parts[k] < 0) return std::nullopt;
        if (k + 1 < parts.size() && parts[k] != std::floor(parts[k])) return std::nullopt;
      }
    }
    degrees = parts[0] + (parts.size() > 1 ? parts[1] / 60 : 0) +
              (parts.size() > 2 ? parts[2] / 3600 : 0);
    if (sign < 0) degrees = -degrees;
  }
  if (std::fabs(degrees) > limit) return std::nullopt;
  return degrees;
}

std::string Decimal(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

// The first of `candidates` that converts back to exactly `units`, as
// TOML: texts quoted, numbers bare.
std::string Exact(Dimension dimension, int32_t units,
                  const std::vector<DesignerValue>& candidates) {
  for (const DesignerValue& candidate : candidates) {
    std::string ignored;
    if (FileUnits(dimension, candidate, &ignored) != units) continue;
    return candidate.is_number ? candidate.text : "\"" + candidate.text + "\"";
  }
  return RawToml(units);
}

DesignerValue TextValue(const std::string& text) {
  DesignerValue v;
  v.text = text;
  return v;
}

// Shortest decimals first, as bare TOML numbers in the default unit.
std::vector<DesignerValue> Decimals(double value, int most) {
  std::vector<DesignerValue> out;
  for (int d = 0; d <= most; ++d) {
    DesignerValue v;
    v.is_number = true;
    v.number = std::strtod(Decimal(value, d).c_str(), nullptr);
    v.text = Decimal(value, d);
    if (d > 0 && v.text.find('.') == std::string::npos) v.text += ".0";
    out.push_back(v);
  }
  return out;
}

std::optional<int32_t> Degrees16(double degrees, bool wrap_full_circle) {
  std::optional<int32_t> units = RoundToInt32(degrees * kHeadingUnitsPerDegree);
  if (units && wrap_full_circle && *units == 65536) return 0;  // 360 degrees is north
  return units;
}

}  // namespace

std::string ExpectedValue(Dimension dimension) {
  switch (dimension) {
    case Dimension::kLatitude:
      return "a latitude such as \"N26 22.5\" or decimal degrees within 90";
    case Dimension::kLongitude:
      return "a longitude such as \"E170 32.4\" or decimal degrees within 180";
    case Dimension::kAltitude:
      return "an altitude in feet, or a text such as \"300 m\" or \"1000 ft\"";
    case Dimension::kDistance:
      return "a distance in metres, or a text such as \"500 m\", \"4 km\" or \"2.5 NM\"";
    case Dimension::kSpeed: return "a speed of 0 knots or more, or a text such as \"120 kt\"";
    case Dimension::kSeconds: return "a time in seconds, or a text such as \"90 s\" or \"15 min\"";
    case Dimension::kHeading: return "a heading in degrees from 0 to 360, or \"any\"";
    case Dimension::kRadial: return "a radial in degrees from 0 to 360";
    case Dimension::kAngle: return "an angle in degrees from 0 to 180";
  }
  return "a value";
}

namespace {

// The value in the file's unit, before it is known to fit 32 bits; angles
// are rounded here, every other unit by the caller. A coordinate's
// particular fault goes to `reason`.
std::optional<double> Convert(Dimension dimension, const DesignerValue& value,
                              std::string* reason) {
  switch (dimension) {
    case Dimension::kLatitude: {
      std::optional<double> degrees = Coordinate(value, 'N', 'S', 90, reason);
      return degrees ? std::optional<double>(LatitudeUnits(*degrees)) : std::nullopt;
    }
    case Dimension::kLongitude: {
      std::optional<double> degrees = Coordinate(value, 'E', 'W', 180, reason);
      return degrees ? std::optional<double>(LongitudeUnits(*degrees)) : std::nullopt;
    }
    case Dimension::kAltitude: return Scaled(value, kAltitudeUnits);
    case Dimension::kDistance: return Scaled(value, kDistanceUnits);
    case Dimension::kSpeed: {
      std::optional<double> speed = Scaled(value, kSpeedUnits);
      return speed && *speed >= 0 ? speed : std::nullopt;
    }
    case Dimension::kSeconds: return Scaled(value, kSecondUnits);
    case Dimension::kHeading:
      if (!value.is_number && Lower(Trim(value.text)) == "any") return kAnyHeading;
      [[fallthrough]];
    case Dimension::kRadial:
    case Dimension::kAngle: {
      double top = dimension == Dimension::kAngle ? 180 : 360;
      std::optional<double> degrees = Scaled(value, kDegreeUnits);
      if (!degrees || *degrees < 0 || *degrees > top) return std::nullopt;
      std::optional<int32_t> units = Degrees16(*degrees, dimension != Dimension::kAngle);
      return units ? std::optional<double>(*units) : std::nullopt;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<int32_t> FileUnits(Dimension dimension, const DesignerValue& value,
                                 std::string* error) {
  std::string reason;
  std::optional<double> scaled = Convert(dimension, value, &reason);
  std::optional<int32_t> units = scaled ? RoundToInt32(*scaled) : std::nullopt;
  if (!scaled) *error = ExpectedValue(dimension);
  if (!scaled && !reason.empty()) *error = "a " + DimensionName(dimension) + ": " + reason;
  if (scaled && !units) *error = "a value that fits the course file (32-bit)";
  return units;
}

std::optional<double> Metres(const DesignerValue& value, std::string* error) {
  std::optional<double> metres = Scaled(value, kDistanceUnits);
  if (!metres) *error = "a distance in metres, or a text such as \"500 m\", \"4 km\" or \"2.5 NM\"";
  return metres;
}

std::optional<double> BearingDegrees(const DesignerValue& value, std::string* error) {
  std::optional<double> degrees = Scaled(value, kDegreeUnits);
  if (!degrees || *degrees < 0 || *degrees > 360) {
    *error = "a bearing in degrees from 0 to 360";
    return std::nullopt;
  }
  return degrees;
}

std::string RawToml(int32_t units) {
  return "{ raw = " + std::to_string(units) + " }";
}

std::string DesignerToml(Dimension dimension, int32_t units) {
  std::vector<DesignerValue> candidates;
  switch (dimension) {
    case Dimension::kLatitude:
    case Dimension::kLongitude: {
      bool lat = dimension == Dimension::kLatitude;
      double degrees = lat ? LatitudeDegrees(units) : LongitudeDegrees(units);
      for (int d = 1; d <= (lat ? 4 : 6); ++d) {
        candidates.push_back(TextValue(lat ? LatitudeText(degrees, d) : LongitudeText(degrees, d)));
      }
      return Exact(dimension, units, candidates);
    }
    case Dimension::kAltitude: return "\"" + std::to_string(units) + " m\"";
    case Dimension::kDistance:
    case Dimension::kSeconds: return std::to_string(units);
    case Dimension::kSpeed:
      if (units < 0) return RawToml(units);
      return Exact(dimension, units, Decimals(units / double(kSpeedUnitsPerKnot), 3));
    case Dimension::kHeading:
      if (units == kAnyHeading) return "\"any\"";
      [[fallthrough]];
    case Dimension::kRadial:
    case Dimension::kAngle: {
      int32_t top = dimension == Dimension::kAngle ? 32768 : 65535;
      if (units < 0 || units > top) return RawToml(units);
      return Exact(dimension, units, Decimals(units / kHeadingUnitsPerDegree, 3));
    }
  }
  return RawToml(units);
}

std::optional<int32_t> MetresToUnits(double metres, double metres_per_unit) {
  return RoundToInt32(metres / metres_per_unit);
}

std::string MetresToml(int32_t units, double metres_per_unit) {
  // Sizes in metres are never negative (nor is a metre per unit, but for
  // a latitude beyond the poles).
  if (units < 0 || !(metres_per_unit > 0)) return RawToml(units);
  for (int d = 0; d <= 3; ++d) {
    std::string text = Decimal(units * metres_per_unit, d);
    if (MetresToUnits(std::strtod(text.c_str(), nullptr), metres_per_unit) == units) {
      return "\"" + text + " m\"";
    }
  }
  return RawToml(units);
}

std::string DimensionName(Dimension dimension) {
  switch (dimension) {
    case Dimension::kLatitude: return "latitude";
    case Dimension::kLongitude: return "longitude";
    case Dimension::kAltitude: return "altitude";
    case Dimension::kDistance: return "distance";
    case Dimension::kSpeed: return "speed";
    case Dimension::kHeading: return "heading";
    case Dimension::kRadial: return "radial";
    case Dimension::kAngle: return "angle";
    case Dimension::kSeconds: return "time";
  }
  return "value";
}
