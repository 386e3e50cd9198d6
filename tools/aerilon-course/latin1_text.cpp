#include "tools/aerilon-course/latin1_text.h"

namespace {

// Code page 1252 at 0x80 to 0x9F; 0 marks the holes, which map to U+0080
// to U+009F like the bytes of ISO 8859-1.
constexpr uint32_t kHigh[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

uint32_t CharacterOf(uint8_t byte) {
  if (byte >= 0x80 && byte < 0xA0 && kHigh[byte - 0x80] != 0) return kHigh[byte - 0x80];
  return byte;
}

// The byte of a character, or -1 when code page 1252 has none.
int ByteOf(uint32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
  for (int i = 0; i < 32; ++i) {
    if (kHigh[i] == c) return 0x80 + i;
    if (kHigh[i] == 0 && c == static_cast<uint32_t>(0x80 + i)) return 0x80 + i;
  }
  return -1;
}

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes the character at `i` and moves past it; false for bad UTF-8.
bool NextCharacter(const std::string& s, size_t& i, uint32_t& c, size_t& length) {
  uint8_t lead = static_cast<uint8_t>(s[i]);
  length = lead < 0x80         ? 1
           : (lead >> 5) == 6  ? 2
           : (lead >> 4) == 14 ? 3
           : (lead >> 3) == 30 ? 4
                               : 0;
  if (length == 0 || i + length > s.size()) return false;
  c = length == 1 ? lead : lead & (0x7F >> length);
  for (size_t k = 1; k < length; ++k) {
    uint8_t b = static_cast<uint8_t>(s[i + k]);
    if ((b & 0xC0) != 0x80) return false;
    c = (c << 6) | (b & 0x3F);
  }
  i += length;
  return true;
}

}  // namespace

Latin1Conversion Utf8ToWindows1252(const std::string& utf8) {
  Latin1Conversion result;
  for (size_t i = 0; i < utf8.size();) {
    size_t start = i, length = 0;
    uint32_t c = 0;
    if (!NextCharacter(utf8, i, c, length)) {
      result.bad_utf8 = true;
      return result;
    }
    int byte = ByteOf(c);
    if (byte < 0) {
      result.offending = utf8.substr(start, length);
      result.code_point = c;
      return result;
    }
    result.bytes += static_cast<char>(byte);
  }
  return result;
}

std::string Windows1252ToUtf8(const std::string& latin1) {
  std::string out;
  for (char byte : latin1) AppendUtf8(out, CharacterOf(static_cast<uint8_t>(byte)));
  return out;
}
