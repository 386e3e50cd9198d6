#include "rally/race/targets/direction_test.h"

bool PassesDirectionTest(uint16_t aircraft_heading, int32_t required_heading) {
  if (required_heading >= kAnyDirection) return true;
  // Both as 16-bit angles: a negative field names the same angle modulo 360.
  int32_t required = static_cast<uint16_t>(required_heading);
  int32_t difference = aircraft_heading - required;
  if (difference < 0) difference = -difference;
  if (difference > 32768) difference = 65536 - difference;
  return difference <= kDirectionTolerance;
}
