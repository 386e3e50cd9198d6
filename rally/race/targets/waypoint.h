#pragma once

#include <cstdint>

struct RallyModule;

// A waypoint is satisfied inside its radius and altitude band; a wrong
// direction raises its warning.
bool WaypointSatisfied(RallyModule& m, const uint8_t* record);

// The waypoint's conditions one by one: the distance measured (one
// distance_and_bearing call), strictly inside the radius, within the
// altitude band, the direction.
struct WaypointTest {
  int32_t distance;
  bool within_radius, altitude, direction;
};
WaypointTest TestWaypoint(RallyModule& m, const uint8_t* record);
