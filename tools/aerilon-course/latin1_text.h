#pragma once

#include <cstdint>
#include <optional>
#include <string>

// Course texts are Windows Latin-1 (code page 1252) in the course file and
// UTF-8 in a course source.
struct Latin1Conversion {
  std::string bytes;      // the Latin-1 text, when every character has a byte
  std::string offending;  // otherwise the first character that has none, as UTF-8
  uint32_t code_point = 0;
  bool bad_utf8 = false;  // the source text is not valid UTF-8
};

Latin1Conversion Utf8ToWindows1252(const std::string& utf8);
// Every byte has a character: the five code page holes (0x81, 0x8D, 0x8F,
// 0x90, 0x9D) read as the control characters of the same number, and
// converting back gives the same bytes.
std::string Windows1252ToUtf8(const std::string& latin1);
