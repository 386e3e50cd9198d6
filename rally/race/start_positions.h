#pragma once

#include <cstdint>

// The airfields of the "&Posizioni" submenu, slots 6 to 13, as the
// simulator's own words: latitude and longitude (upper 32 bits), the
// repositioning altitude in whole metres and its fraction (1/2^32 m), and
// the 32-bit heading (2^32 = 360 degrees).
struct StartPosition {
  uint32_t latitude;
  uint32_t longitude;
  uint32_t metres;
  uint32_t fraction;
  uint32_t heading;
};

constexpr uint32_t kFirstStartPositionSlot = 6;
constexpr uint32_t kStartPositionCount = 8;

// The row of a menu slot, or null for a slot that names no position.
const StartPosition* StartPositionForSlot(uint32_t slot);
