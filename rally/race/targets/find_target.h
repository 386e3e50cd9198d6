#pragma once

#include <cstdint>

struct RallyModule;

// Looks for the next target at or after `record` in the course image (a
// start box, gate, waypoint, landing or bonus object), skipping the records
// the engine only executes. With a target, the Target takes its position
// and warning and both measured distances become the distance to it. At the
// leg's LegEnd (or at a record of no known type, or at the end of the
// image) there is none: the Target keeps its last position and warning.
void FindNextTarget(RallyModule& m, const uint8_t* record);

// The middle of a box side in 64-bit position units: the course values
// carry no fraction, so the middle may fall on a half unit.
int64_t BoxMiddle(int32_t low, int32_t high);
