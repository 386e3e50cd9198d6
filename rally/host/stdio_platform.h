#pragma once

#include <cstdint>

#include "rally/host/platform.h"

// The C runtime's files (with '\' turned into '/' where that is the
// separator, below an optional root folder), a malloc heap and time().
struct StdioPlatform {
  char root[260];  // folder the relative paths start from; empty = working folder
};
PlatformOps MakeStdioPlatform(StdioPlatform* state);
// Writes root + path into out with the host's separators; false if it does not fit.
bool ResolvePlatformPath(const StdioPlatform& state, const char* path, char* out, uint32_t size);
