#pragma once

#include <cstdint>

struct RallyModule;

// A waypoint is satisfied inside its radius and altitude band; a wrong
// direction raises its warning.
bool WaypointSatisfied(RallyModule& m, const uint8_t* record);
