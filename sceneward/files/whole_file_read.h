#pragma once

#include <cstdint>

#include "sceneward/files/file_system.h"

// The steps of reading one file whole, as a file system takes them; the
// decisions between them are made once, here, for every file system.
struct FileReadSteps {
  void* context;
  bool (*open)(void* context, const char* path, OpenMode mode);  // false: cannot open
  // The length of the open file; false when it is not a regular file or
  // its length cannot be told.
  bool (*length)(void* context, uint64_t* length);
  // Up to `count` bytes into `bytes`: how many were read, 0 at the end of
  // the file, -1 when the read failed.
  int64_t (*read)(void* context, uint8_t* bytes, uint32_t count);
  void (*close)(void* context);
};

// Reads the file at `path` into a fresh block of `fs`, followed by `extra`
// zero bytes. A file that cannot be read to exactly the length it had when
// opened (a failing disk, another program cutting or extending it) gives
// kReadFailed and no block: what was read of it is not the file.
ReadOutcome ReadWholeFileBySteps(FileSystem& fs, const FileReadSteps& steps, const char* path,
                                 OpenMode mode, uint32_t extra, FileBlock* out);
