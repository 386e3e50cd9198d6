#pragma once

#include <cstdint>

#include "rally/host/platform.h"

// Reads `count` bytes, call after call: a file system may hand over fewer
// bytes than asked while more follow (a network drive does). Returns the
// bytes read, fewer only when the file ended or a read failed; never more
// than `count`, whatever a read call claims.
uint32_t ReadAll(const PlatformOps& platform, FileHandle file, void* buffer, uint32_t count);
