#include "sceneward/script/coordinates.h"

#include <cmath>
#include <cstdlib>

#include "common/c_runtime.h"

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

char FoldCase(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// The length of the decimal number at `text`: digits, an optional fraction,
// an optional exponent with digits. Hexadecimal and other forms that some C
// runtimes read are left out, so that every build reads the same numbers.
size_t DecimalNumberLength(const char* text) {
  size_t n = 0;
  while (IsDigit(text[n])) ++n;
  if (text[n] == '.') {
    ++n;
    while (IsDigit(text[n])) ++n;
  }
  if (text[n] == 'e' || text[n] == 'E') {
    size_t exponent = n + 1;
    if (text[exponent] == '+' || text[exponent] == '-') ++exponent;
    if (IsDigit(text[exponent])) {
      n = exponent;
      while (IsDigit(text[n])) ++n;
    }
  }
  return n;
}

// Reads the decimal number at *position, whatever its length, with the C
// runtime's conversion, straight from the script buffer (which is only
// read, and ends in a terminator). The conversion must end where the
// decimal form does: only a leading "0x" would make it read on, as a
// hexadecimal number, so that 0 is taken here as the 0 it is.
bool ReadNumber(const char** position, double* value) {
  const char* text = *position;
  const size_t length = DecimalNumberLength(text);
  if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    *value = 0.0;
  } else {
    char* end = nullptr;
    *value = ReadDecimal(text, &end);
    if (end != text + length) return false;  // not the decimal form after all
  }
  *position += length;
  return std::isfinite(*value);
}

double UnitFactor(char letter) {
  switch (FoldCase(letter)) {
    case 'G': return 3600.0;
    case 'M': return 60.0;
    case 'S': return 1.0;
    default: return 0.0;
  }
}

// Into [-half_period, half_period): the remainder is exact, so the result is
// what adding or subtracting the period step by step would give.
double Wrap(double seconds, double half_period) {
  double period = 2.0 * half_period;
  double wrapped = std::fmod(seconds, period);
  if (wrapped >= half_period) wrapped -= period;
  if (wrapped < -half_period) wrapped += period;
  return wrapped;
}

int32_t ToUnits(double seconds, double factor) {
  double units = std::trunc(seconds * factor);
  if (units >= 2147483647.0) return 2147483647;
  if (units <= -2147483648.0) return -2147483647 - 1;
  return static_cast<int32_t>(units);
}

void SkipSeparators(const char** position) {
  while (IsWhiteSpace(**position)) ++*position;
  if (**position != ',') return;
  ++*position;
  while (IsWhiteSpace(**position)) ++*position;
}

// The hemisphere letter right after the angle: `positive` is passed over,
// `negative` is passed over and flips the sign.
double ApplyHemisphere(const char** position, double seconds, char positive, char negative) {
  char letter = FoldCase(**position);
  if (letter == positive) ++*position;
  if (letter != negative) return seconds;
  ++*position;
  return -seconds;
}

bool ParseCoordinate(const char** position, char positive, char negative, double half_period,
                     double factor, int32_t* units, CoordinateSeconds* seconds) {
  double written = 0.0;
  if (!ParseAngle(position, &written)) return false;
  written = ApplyHemisphere(position, written, positive, negative);
  SkipSeparators(position);
  double read = Wrap(written, half_period);
  *units = ToUnits(read, factor);
  if (seconds != nullptr) *seconds = CoordinateSeconds{written, read};
  return true;
}

}  // namespace

bool ParseAngle(const char** position, double* seconds) {
  double total = 0.0;
  while (IsDigit(**position)) {
    double number = 0.0;
    if (!ReadNumber(position, &number)) return false;
    total += number * UnitFactor(**position);
    if (!std::isfinite(total)) return false;
    // The unit letter (or whatever stands there) is passed over, but never
    // the end of the text.
    if (**position != '\0') ++*position;
  }
  *seconds = total;
  return true;
}

bool ParseLatitude(const char** position, int32_t* units, CoordinateSeconds* seconds) {
  return ParseCoordinate(position, 'N', 'S', 324000.0, kLatitudeUnitsPerSecond, units, seconds);
}

bool ParseLongitude(const char** position, int32_t* units, CoordinateSeconds* seconds) {
  return ParseCoordinate(position, 'E', 'W', 648000.0, kLongitudeUnitsPerSecond, units, seconds);
}
