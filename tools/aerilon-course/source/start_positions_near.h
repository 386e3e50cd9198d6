#pragma once

#include <cstdint>
#include <string>

// The airfields of the module's "&Posizioni" menu as the toolbox names
// them, and the one nearest a point of a course: where a pilot starts.
struct NearestStartPosition {
  uint32_t index = 0;  // 0 to 7: "&1." to "&8." of the menu
  std::string name;    // "Ralliest Base"
  double metres = 0;   // on the ground from the point
};

// The start positions are fixed in the module; beyond this a course's
// first start box is too far to be flown to from one.
constexpr double kStartPositionReachMetres = 50000;

NearestStartPosition NearestStartPositionTo(int32_t lat, int32_t lon);
std::string StartPositionName(uint32_t index);
