#pragma once

#include <cstdint>

struct RallyModule;

// An item picked up: points for the leg, its name remembered in its slot.
void Collect(RallyModule& m, const uint8_t* record);
