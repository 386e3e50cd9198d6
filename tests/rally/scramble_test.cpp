#include "rally/course/scramble.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Counting(uint32_t length) {
  Bytes bytes(length);
  for (uint32_t i = 0; i < length; ++i) bytes[i] = static_cast<uint8_t>(0x30 + 7 * i);
  return bytes;
}

TEST(Scramble, EveryLengthRoundTripsAndLeavesTheTailBytesAsTheyAre) {
  for (uint32_t length = 0; length <= 9; ++length) {
    SCOPED_TRACE(length);
    const Bytes plain = Counting(length);
    Bytes stored = plain;
    ScrambleWords(stored.data(), length);
    uint32_t whole = length / 4 * 4;
    for (uint32_t i = whole; i < length; ++i) {
      EXPECT_EQ(stored[i], plain[i]) << "tail byte " << i;
    }
    for (uint32_t i = 0; i < whole; i += 4) {
      EXPECT_FALSE(std::equal(plain.begin() + i, plain.begin() + i + 4, stored.begin() + i))
          << "word at " << i << " was not scrambled";
    }
    UnscrambleWords(stored.data(), length);
    EXPECT_EQ(stored, plain);
  }
}

// Worked out by hand: stored = plain ^ key, and the next key is the stored
// word rotated left by one (0x5A3C96E1 -> 0xB4792DC2; 0xA55B1E86 -> 0x4AB63D0D).
TEST(Scramble, MatchesTheVectorWorkedOutByHand) {
  Bytes data = {0x00, 0x00, 0x00, 0x00, 0x44, 0x33, 0x22, 0x11, 0xFF, 0xFF, 0xFF, 0xFF};
  ScrambleWords(data.data(), static_cast<uint32_t>(data.size()));
  EXPECT_EQ(data, (Bytes{0xE1, 0x96, 0x3C, 0x5A, 0x86, 0x1E, 0x5B, 0xA5, 0xF2, 0xC2, 0x49, 0xB5}));
  UnscrambleWords(data.data(), static_cast<uint32_t>(data.size()));
  EXPECT_EQ(data, (Bytes{0x00, 0x00, 0x00, 0x00, 0x44, 0x33, 0x22, 0x11, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST(Scramble, ADamagedStoredWordSpoilsOnlyItselfAndTheNextWord) {
  const Bytes plain = Counting(24);
  for (uint32_t word = 0; word < 6; ++word) {
    SCOPED_TRACE(word);
    Bytes stored = plain;
    ScrambleWords(stored.data(), 24);
    stored[4 * word + 1] ^= 0x10;
    UnscrambleWords(stored.data(), 24);
    for (uint32_t w = 0; w < 6; ++w) {
      bool changed =
          !std::equal(stored.begin() + 4 * w, stored.begin() + 4 * w + 4, plain.begin() + 4 * w);
      EXPECT_EQ(changed, w == word || w == word + 1) << "plain word " << w;
    }
  }
}

}  // namespace
