#include "rally/course/scramble.h"

#include "common/little_endian.h"

namespace {
uint32_t RotateLeft1(uint32_t v) {
  return (v << 1) | (v >> 31);
}
}  // namespace

void UnscrambleWords(uint8_t* data, uint32_t length) {
  uint32_t key = kScrambleInitialKey;
  for (uint32_t i = 0; i + 4 <= length; i += 4) {
    uint32_t stored = load_u32le(data + i);
    store_u32le(data + i, stored ^ key);
    key = RotateLeft1(stored);
  }
}

void ScrambleWords(uint8_t* data, uint32_t length) {
  uint32_t key = kScrambleInitialKey;
  for (uint32_t i = 0; i + 4 <= length; i += 4) {
    uint32_t stored = load_u32le(data + i) ^ key;
    store_u32le(data + i, stored);
    key = RotateLeft1(stored);
  }
}
