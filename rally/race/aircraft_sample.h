#pragma once

#include <cstdint>

#include "rally/host/host_interface.h"

struct RallyModule;

// The aircraft as the course objects test it: the whole parts of its
// position (course units, metres), its speed, whether it stands on the
// ground, its heading as a 16-bit angle and the simulator's condition index.
struct AircraftSample {
  int32_t latitude;
  int32_t longitude;
  int32_t altitude;
  int32_t speed;
  bool on_ground;
  uint16_t heading;
  uint8_t condition;
};

AircraftSample SampleAircraft(const RallyModule& m);

// distance_and_bearing from the aircraft's own position to `to`: metres,
// and the true bearing as a 16-bit angle when `bearing` is given.
int32_t DistanceFromAircraft(RallyModule& m, const HostPosition& to, uint16_t* bearing = nullptr);

// `to` moved to the aircraft's altitude in whole metres, so that only the
// ground distance counts.
HostPosition AtAircraftAltitude(const RallyModule& m, HostPosition to);
