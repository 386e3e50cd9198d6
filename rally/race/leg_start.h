#pragma once

#include <cstdint>

struct RallyModule;

// Starts leg `entry` (an EntryTable index holding a StartGate).
void StartLeg(RallyModule& m, int32_t entry);
