#include "common/windows1252_text.h"

#include "common/utf8.h"
#include "common/windows1252.h"

Windows1252Conversion Utf8ToWindows1252(const std::string& utf8) {
  Windows1252Conversion result;
  for (size_t i = 0; i < utf8.size();) {
    uint32_t c = 0;
    size_t length = DecodeUtf8(utf8, i, &c);
    if (length == 0) {
      result.bad_utf8 = true;
      return result;
    }
    int32_t byte = Windows1252Byte(c);
    if (byte < 0) {
      result.offending = utf8.substr(i, length);
      result.code_point = c;
      return result;
    }
    result.bytes += static_cast<char>(byte);
    i += length;
  }
  return result;
}

std::string Windows1252ToUtf8(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (char byte : bytes) AppendUtf8(out, Windows1252Character(static_cast<uint8_t>(byte)));
  return out;
}
