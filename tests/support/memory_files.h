#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "rally/host/platform.h"

// The module's files in memory, behind its platform calls, with a counted
// heap and read faults on demand. The fuzz targets run the module over it,
// and the read-fault tests make each step of a read go wrong.

// How the reads of one file go wrong. A fault left at its default does
// nothing.
struct ReadFaults {
  std::string path;             // the file they concern (the module's own path text)
  bool fail_open = false;       // opening it fails
  bool unknown_length = false;  // its length cannot be told (-1)
  uint32_t read_limit = 0;      // each read call hands over at most this many bytes; 0 = no limit
  int64_t fail_after = -1;      // reads hand over nothing past this many bytes; -1 = never
  // Once its length was told, the file is cut to this many bytes before the
  // next read: it shrank between its size and its read. -1 = never.
  int64_t shrink_to = -1;
};

struct MemoryFiles {
  std::map<std::string, std::vector<uint8_t>> files;  // by the module's path text
  std::set<std::string> read_only;                    // replacing them is refused
  ReadFaults faults;
  uint32_t clock = 0;  // what calendar_time answers

  // The heap: every block is filled with kPoison when it is handed out, so
  // that bytes a read did not fill stand out.
  static constexpr uint8_t kPoison = 0xA5;
  int64_t live_blocks = 0;
  uint64_t allocations = 0;
  uint64_t fail_allocation = 0;  // 1-based allocation to refuse; 0 = none

  struct OpenFile {
    std::string path;
    bool writing;
    size_t position;             // reading
    bool length_told;            // reading: file_length was asked
    std::vector<uint8_t> bytes;  // writing
  };
  std::map<uintptr_t, OpenFile> open;
  uintptr_t next_handle = 1;
  uint64_t bytes_handed_out = 0;  // by every read, in all
};

PlatformOps MakeMemoryFilesPlatform(MemoryFiles* files);
