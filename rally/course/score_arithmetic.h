#pragma once

#include <cstdint>

// Scores are 32-bit. A course with extreme values could carry a sum past
// the range, and a wrapped sum would turn a large penalty into a prize: the
// scores are added in 64 bits and keep the nearest 32-bit value.
inline int32_t ClampToInt32(int64_t v) {
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}

inline int32_t AddClamped(int32_t a, int64_t b) {
  return ClampToInt32(a + b);
}

// -v, also for the one value whose negation does not fit.
inline int32_t NegatedClamped(int32_t v) {
  return ClampToInt32(-static_cast<int64_t>(v));
}

// sum x percentage / 100, truncating toward zero as 32-bit arithmetic
// does, without the 64-bit product: twenty legs' totals times a percentage
// a score file can hold would overflow it. With sum = 100q + r (r of the
// sum's sign) the result is q x percentage + r x percentage / 100 exactly.
inline int64_t ScaledByPercentage(int64_t sum, int32_t percentage) {
  return (sum / 100) * percentage + (sum % 100) * percentage / 100;
}
