#pragma once

#include <cstdint>
#include <random>

// The soak's own random source, apart from the module's generator: one
// seed gives one whole run, flight, courses and files alike.
struct SoakRandom {
  std::mt19937 engine;
  explicit SoakRandom(uint32_t seed) : engine(seed) {}

  // lo to hi, both included.
  int32_t Range(int32_t lo, int32_t hi) {
    return std::uniform_int_distribution<int32_t>(lo, hi)(engine);
  }
  double Real(double lo, double hi) {
    return std::uniform_real_distribution<double>(lo, hi)(engine);
  }
  // True once in `n` draws on average.
  bool OneIn(int32_t n) { return Range(1, n) == 1; }
};
