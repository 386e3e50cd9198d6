#pragma once

#include <cstdint>

#include "common/file_replace.h"

// Heap blocks, whole-file access and the clock. The DLL takes its blocks
// from the system heap; the C-runtime implementation below serves both
// builds for files. Tests wrap it to make any step fail.
typedef void* FileHandle;  // 0 = none

struct PlatformOps {
  void* context;
  void* (*alloc_block)(void* context, uint32_t size);  // 0 on failure
  void (*free_block)(void* context, void* block);

  // Paths are the module's own relative texts ("ADV\RALLY\Rally.DAT").
  FileHandle (*open_read)(void* context, const char* path);
  int64_t (*file_length)(void* context, FileHandle file);  // -1 when unknown
  uint32_t (*read)(void* context, FileHandle file, void* buffer, uint32_t count);
  void (*close)(void* context, FileHandle file);

  // Writing: a file is created (or emptied) for writing, written, and
  // finished; finishing reports whether every byte reached the disk.
  FileHandle (*open_write)(void* context, const char* path);
  uint32_t (*write)(void* context, FileHandle file, const void* data, uint32_t count);
  bool (*finish_write)(void* context, FileHandle file);
  // Puts `from` in the place of `to`, replacing it. A read-only `to` is
  // refused, as Windows refuses it.
  ReplaceOutcome (*replace_file)(void* context, const char* from, const char* to);
  void (*remove_file)(void* context, const char* path);

  uint32_t (*calendar_time)(void* context);  // seconds since 1970
};
