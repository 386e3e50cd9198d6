#include "common/windows1252.h"

namespace {

// 0x80 to 0x9F; 0 marks the five bytes without a character.
constexpr uint16_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

bool InHighRange(uint32_t c) {
  return c >= 0x80 && c < 0xA0;
}

}  // namespace

bool Windows1252HasCharacter(uint8_t byte) {
  return !InHighRange(byte) || kHigh[byte - 0x80] != 0;
}

uint32_t Windows1252Character(uint8_t byte) {
  return Windows1252HasCharacter(byte) && InHighRange(byte) ? kHigh[byte - 0x80] : byte;
}

int32_t Windows1252Byte(uint32_t character) {
  if (character <= 0xFF && Windows1252Character(static_cast<uint8_t>(character)) == character) {
    return static_cast<int32_t>(character);
  }
  for (int32_t i = 0; i < 32; ++i) {
    if (kHigh[i] != 0 && kHigh[i] == character) return 0x80 + i;
  }
  return -1;
}
