#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "rally/host/platform.h"

// A platform whose one file is a buffer of bytes, found under any path, so
// that the module's own readers read exactly the bytes a tool holds. It
// writes nothing: every file opened for writing is refused.
struct MemoryFile {
  const std::vector<uint8_t>* bytes;
  size_t position = 0;
};
PlatformOps MakeMemoryFilePlatform(MemoryFile* file);
