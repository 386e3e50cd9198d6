#pragma once

#include <cstdint>

// Start boxes, gates, waypoints and landings want the aircraft's heading
// within 40 degrees (7282 units) of the required one, either side; a
// required heading of 65536 or more accepts any direction.
constexpr int32_t kAnyDirection = 65536;
constexpr int32_t kDirectionTolerance = 7282;

bool PassesDirectionTest(uint16_t aircraft_heading, int32_t required_heading);
