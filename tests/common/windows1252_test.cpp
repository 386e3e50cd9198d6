#include "common/windows1252.h"

#include <gtest/gtest.h>

#include "common/windows1252_text.h"

namespace {

// Bytes 0x80 to 0x9F as UTF-8: the code page's own characters, and its
// five bytes without one as the C1 controls of the same number.
const char* const kHighCharacters[32] = {
    "€", "\xC2\x81", "‚",        "ƒ", "„",        "…",        "†", "‡",        "ˆ", "‰", "Š",
    "‹", "Œ",        "\xC2\x8D", "Ž", "\xC2\x8F", "\xC2\x90", "‘", "’",        "“", "”", "•",
    "–", "—",        "˜",        "™", "š",        "›",        "œ", "\xC2\x9D", "ž", "Ÿ"};

TEST(Windows1252, ConvertsEveryHighByteToItsCharacterAndBack) {
  for (int byte = 0x80; byte < 0xA0; ++byte) {
    const std::string bytes(1, static_cast<char>(byte)), utf8 = kHighCharacters[byte - 0x80];
    EXPECT_EQ(Windows1252ToUtf8(bytes), utf8) << std::hex << byte;
    EXPECT_EQ(Utf8ToWindows1252(utf8).bytes, bytes) << std::hex << byte;
    EXPECT_EQ(Windows1252HasCharacter(static_cast<uint8_t>(byte)), utf8[0] != '\xC2') << byte;
  }
  EXPECT_EQ(Windows1252ToUtf8("Citt\xE0 \xA0\xFF"), "Città \xC2\xA0ÿ");
}

// U+0092 is a C1 control, not the byte 0x92 ("'"); what is not UTF-8 is refused.
TEST(Windows1252, RefusesWhatTheCodePageCannotHold) {
  EXPECT_EQ(Utf8ToWindows1252("\xC2\x92").code_point, 0x92u);
  for (const char* bad : {"\xE8", "\xC0\xA8", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82"}) {
    EXPECT_TRUE(Utf8ToWindows1252(bad).bad_utf8) << bad;
  }
}

}  // namespace
