#pragma once

#include <cstdint>

enum RaceState : int32_t {
  kOutOfRace = 0,
  kArmed = 1,
  kLegRunning = 2,
  kNearObjectOuter = 3,
  kNearObjectMiddle = 4,
  kNearObjectInner = 5,
};

// The race engine's module-wide state. It grows with the engine; at load
// everything is zero except CurrentLeg, which starts at -1 (no leg yet).
struct RaceEngine {
  int32_t state = kOutOfRace;
  int32_t current_leg = -1;
  int32_t tick_count = 0;
};
