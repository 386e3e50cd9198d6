#pragma once

#include <cstdint>
#include <string>

// Texts of the simulator's files (code page 1252, see windows1252.h) to
// and from UTF-8, the tools' encoding: a course source's texts become the
// course file's bytes, and the bytes of a file become JSON and TOML.
// For what a terminal or a picture shows, see printable_text.h.

struct Windows1252Conversion {
  std::string bytes;      // the code page 1252 text, when every character has a byte
  std::string offending;  // otherwise the first character that has none, as UTF-8
  uint32_t code_point = 0;
  bool bad_utf8 = false;  // the text is not valid UTF-8
};

Windows1252Conversion Utf8ToWindows1252(const std::string& utf8);
// Every byte has a character (the five without one read as the C1
// controls of the same number), and converting back gives the same bytes.
std::string Windows1252ToUtf8(const std::string& bytes);
