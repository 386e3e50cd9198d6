#pragma once

#include <cstdint>

// The Windows C runtime's linear congruential generator, so that every
// build draws the same values (0 to 32767) from the same seed.
struct RandomGenerator {
  uint32_t state;
};

void SeedRandom(RandomGenerator& g, uint32_t seed);
int32_t NextRandom(RandomGenerator& g);
