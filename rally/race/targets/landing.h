#pragma once

#include <cstdint>

struct AircraftSample;
struct RallyModule;

// A landing needs 12 consecutive ground ticks inside its box.
bool LandingSatisfied(RallyModule& m, const uint8_t* record);

constexpr int32_t kLandingDwellTicks = 12;

// Latitude and longitude only: the landing's altitude is for readouts.
bool InsideLandingBox(const uint8_t* record, const AircraftSample& a);
