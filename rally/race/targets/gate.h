#pragma once

#include <cstdint>

struct RallyModule;

// A gate is satisfied when the aircraft is inside its box, in its altitude
// band and speed range; a wrong direction raises its warning. Each test of
// a target reads the aircraft anew; passing, the record pointer moving on
// and the next target being found are the record dispatch's.
bool GateSatisfied(RallyModule& m, const uint8_t* record);
