#include "common/printable_text.h"

#include <cstdio>

#include "common/utf8.h"
#include "common/windows1252.h"

namespace {

bool IsControl(uint32_t c) {
  return c < 0x20 || (c >= 0x7F && c < 0xA0);
}

}  // namespace

std::string PrintableText(const std::string& text, TextEncoding encoding) {
  std::string out;
  out.reserve(text.size());
  for (size_t at = 0; at < text.size();) {
    uint32_t c = 0;
    size_t length = encoding == TextEncoding::kUtf8 ? DecodeUtf8(text, at, &c) : 0;
    if (length == 0) {
      c = Windows1252Character(static_cast<uint8_t>(text[at]));
      length = 1;
    }
    at += length;
    if (IsControl(c)) {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned>(c));
      out += escape;
    } else {
      AppendUtf8(out, c);
    }
  }
  return out;
}
