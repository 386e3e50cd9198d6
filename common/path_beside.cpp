#include "common/path_beside.h"

#include <cstring>

bool PathBeside(const char* path, const char* name, char* out, uint32_t out_size) {
  size_t folder_length = 0;
  for (size_t i = 0; path[i] != '\0'; ++i) {
    if (path[i] == '\\' || path[i] == '/') folder_length = i + 1;
  }
  size_t name_length = std::strlen(name);
  if (folder_length + name_length + 1 > out_size) return false;
  std::memcpy(out, path, folder_length);
  std::memcpy(out + folder_length, name, name_length + 1);
  return true;
}
