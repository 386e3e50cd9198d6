#pragma once

#include <cstdint>

struct RallyModule;

// The end of a tick in which the engine waits at a target or an approach:
// the precision track is measured, and every 8 ticks the distance to the
// target is watched. A jump of more than 2 nautical miles away from it
// between two checks (a teleport) leaves the race silently; flying away
// by more than a tenth of the closest distance raises the target's warning.
enum class TailResult {
  kContinue,    // the tick goes on to the message service
  kTeleported,  // the race was reset; the tick ends at once
};
TailResult RunTickTail(RallyModule& m);

constexpr int32_t kTeleportMetres = 3704;
constexpr int32_t kDistanceCheckMask = 7;  // every 8 ticks
