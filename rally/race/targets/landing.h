#pragma once

#include <cstdint>

struct RallyModule;

// A landing needs 12 consecutive ground ticks inside its box.
bool LandingSatisfied(RallyModule& m, const uint8_t* record);

constexpr int32_t kLandingDwellTicks = 12;
