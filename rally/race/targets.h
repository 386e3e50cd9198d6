#pragma once

#include <cstdint>

struct RallyModule;

// The targets a leg waits at. Each test reads the aircraft anew and says
// whether the target is satisfied; a wrong direction raises its warning.
// Passing, the record pointer moving on and the next target being found
// are the record dispatch's.
bool GateSatisfied(RallyModule& m, const uint8_t* record);
bool WaypointSatisfied(RallyModule& m, const uint8_t* record);
// A landing needs 12 consecutive ground ticks inside its box.
bool LandingSatisfied(RallyModule& m, const uint8_t* record);

constexpr int32_t kLandingDwellTicks = 12;
