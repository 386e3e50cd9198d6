#pragma once

#include <cstdint>

struct RallyModule;

// The leg's LegEnd is reached: the race is left, the score is completed and
// announced, a new best total of a valid run is recorded and written, a
// total of 0 or less reloads the score file, and the score summary is due
// once the messages have been shown.
void ScoreLeg(RallyModule& m, const uint8_t* leg_end);

constexpr int32_t kPointsPerAid = -50;
