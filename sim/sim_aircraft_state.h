#pragma once

#include <cstdint>
#include <optional>

// What a flight sets in the simulator's state block at one tick; fields
// left empty keep their values. Positions are the upper 32-bit words (the
// lower halves become 0), the heading is a 16-bit angle stored as the
// upper half of the simulator's 32-bit heading.
struct SimAircraftChange {
  std::optional<int32_t> latitude;
  std::optional<uint32_t> longitude;
  std::optional<int32_t> altitude;  // metres
  std::optional<int32_t> speed;     // knots x 128
  std::optional<uint16_t> heading;
  std::optional<int16_t> on_ground;
  std::optional<int16_t> crashed;
  std::optional<int16_t> slew;
  std::optional<int16_t> pause;
  std::optional<uint8_t> suspend;
  std::optional<uint8_t> condition;
  std::optional<uint16_t> magnetic_variation;
};

void ApplyAircraftChange(uint8_t* sim_state, const SimAircraftChange& change);
