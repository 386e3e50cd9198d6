#pragma once

#include <cstdint>

// The rolling-key XOR shared by the course file and the score file. Only
// whole little-endian words are processed; the last length % 4 bytes are
// left as they are. The key for each next word is the stored (scrambled)
// word rotated left by one bit, so both directions start from the same key.
constexpr uint32_t kScrambleInitialKey = 0x5A3C96E1u;

void UnscrambleWords(uint8_t* data, uint32_t length);
void ScrambleWords(uint8_t* data, uint32_t length);
