#include "rally/state/random_generator.h"

void SeedRandom(RandomGenerator& g, uint32_t seed) {
  g.state = seed;
}

int32_t NextRandom(RandomGenerator& g) {
  g.state = g.state * 214013u + 2531011u;
  return static_cast<int32_t>((g.state >> 16) & 0x7FFF);
}
