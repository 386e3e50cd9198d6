#pragma once

#include <cstdint>

#include "rally/race/aircraft_sample.h"

// The box of a StartGate or Gate (both keep it at the same offsets): the
// latitude and longitude ranges, the altitude band around its centre and
// the speed range, every bound included.
bool InsideGateBox(const uint8_t* record, const AircraftSample& a);

// The same bounds one by one, for a tool that says which of them held.
struct GateBoxTest {
  bool latitude, longitude, altitude, speed;
  bool Inside() const { return latitude && longitude && altitude && speed; }
};
GateBoxTest TestGateBox(const uint8_t* record, const AircraftSample& a);

// The required heading of a StartGate or Gate.
int32_t GateHeading(const uint8_t* record);
