#include "rally/ui/tenths_text.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr double kLargestTenths = 9.0e18;  // below 2^63, so every count fits

// round(10 * magnitude), ties away from zero, on the exact value: the double
// is mantissa * 2^exponent with a 53-bit mantissa, so 10 * mantissa fits in
// 57 bits and the remainder below the binary point decides the rounding.
uint64_t TenthsOf(double magnitude) {
  if (!(magnitude * 10.0 < kLargestTenths)) return static_cast<uint64_t>(kLargestTenths);
  int exponent = 0;
  double fraction = std::frexp(magnitude, &exponent);  // magnitude = fraction * 2^exponent
  uint64_t mantissa = static_cast<uint64_t>(std::ldexp(fraction, 53));
  exponent -= 53;
  uint64_t scaled = mantissa * 10;
  if (exponent >= 0) return scaled << exponent;  // a whole number, below the limit
  int shift = -exponent;
  if (shift >= 58) return 0;  // scaled < 2^57: under half a tenth
  uint64_t whole = scaled >> shift;
  uint64_t rest = scaled & ((uint64_t{1} << shift) - 1);
  uint64_t half = uint64_t{1} << (shift - 1);
  return rest >= half ? whole + 1 : whole;
}

}  // namespace

// Written by hand: the simulator's C runtime knows no "%llu".
void FormatTenths(double value, char* out, size_t size) {
  if (size == 0) return;
  bool nan = std::isnan(value);
  uint64_t tenths = nan ? 0 : TenthsOf(std::fabs(value));
  char reversed[24];
  size_t n = 0;
  reversed[n++] = static_cast<char>('0' + tenths % 10);
  reversed[n++] = '.';
  uint64_t whole = tenths / 10;
  do {
    reversed[n++] = static_cast<char>('0' + whole % 10);
    whole /= 10;
  } while (whole != 0);
  if (!nan && std::signbit(value)) reversed[n++] = '-';  // as printf: -0.04 is "-0.0"
  size_t length = n < size ? n : size - 1;
  for (size_t i = 0; i < length; ++i) out[i] = reversed[n - 1 - i];
  out[length] = '\0';
}
