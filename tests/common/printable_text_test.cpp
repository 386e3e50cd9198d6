#include "common/printable_text.h"

#include <gtest/gtest.h>

namespace {

constexpr TextEncoding k1252 = TextEncoding::kWindows1252, kUtf8 = TextEncoding::kUtf8;

// What a terminal gets of texts from files: characters as they are,
// control characters as \xNN.
TEST(PrintableText, ShowsControlCharactersAndConvertsTheCodePage) {
  const struct {
    const char* text;
    TextEncoding encoding;
    const char* shown;
  } cases[] = {
      {"Rocca d'Aria", k1252, "Rocca d'Aria"},
      {"\x1B]0;owned\x07 name", k1252, "\\x1B]0;owned\\x07 name"},  // sets a terminal's title
      {"a\tb\r\n\x7F", k1252, "a\\x09b\\x0D\\x0A\\x7F"},
      {"l\x92isola \x80 5, \x93s\xEC\x94", k1252, "l’isola € 5, “sì”"},
      {"\x81\x8D\x8F\x90\x9D", k1252,
       "\\x81\\x8D\\x8F\\x90\\x9D"},  // no character in the code page
      {"C:\\ADV\\Citt\xE0", k1252, "C:\\ADV\\Città"},
      {"Città “sì” ’", kUtf8, "Città “sì” ’"},
      {"\x1B[2J\xC2\x9Bm", kUtf8, "\\x1B[2J\\x9Bm"},  // C1 CSI, as UTF-8
      {"caf\xE9 \x92 \x81", kUtf8, "café ’ \\x81"},   // not UTF-8: the code page
      {"\xC0\x9B", kUtf8, "À›"},                      // an overlong ESC is two bytes
  };
  for (const auto& c : cases) EXPECT_EQ(PrintableText(c.text, c.encoding), c.shown) << c.text;
}

}  // namespace
