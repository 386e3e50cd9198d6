#include "rally/course/score_path.h"

#include <cstring>

bool DeriveScorePath(char* path, uint32_t capacity) {
  static const char kExtension[] = ".SCO";
  size_t length = std::strlen(path);
  size_t cut = length;
  for (size_t i = length; i > 0; --i) {
    char c = path[i - 1];
    if (c == '\\' || c == '/') break;  // a "." in a folder name is not the extension
    if (c == '.') {
      cut = i - 1;
      break;
    }
  }
  if (cut + sizeof kExtension > capacity) return false;
  std::memcpy(path + cut, kExtension, sizeof kExtension);
  return true;
}
