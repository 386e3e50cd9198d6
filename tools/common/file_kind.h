#pragma once

#include <sys/stat.h>

#include <string>

// What a path names when it is no regular file, for messages: "a folder",
// "a named pipe (FIFO)", "a device", "a socket"; empty for a regular file.
// A tool reads and writes regular files only: a folder cannot be read as
// bytes, and a pipe or a device would block, or be replaced by the rename
// that puts a new file in place.
std::string KindOfNonFile(mode_t mode);
