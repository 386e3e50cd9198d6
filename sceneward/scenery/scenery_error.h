#pragma once

#include <cstdint>

// Why a scenery file could not be read, and where. A file with such a
// fault is left as it is; the reason is for the person who runs the tool.
enum class SceneryFault {
  kNone,
  kShortHeader,         // the file is shorter than its header
  kNotIndexed,          // the file does not carry the index mark
  kShortExtension,      // no room for the extension block behind the header
  kIndexOffsetPastEnd,  // the extension block points past the end of the file
  kRecordPastEnd,       // an index record runs past the end of the file
  kNoEndRecord,         // the index reaches the end of the file without an end record
  kNoListHead,          // the index has no list head before its entries or its end
  kSecondListHead,      // the index holds a second list head
  kEntryTooShort,       // an entry's size is less than its 8-byte entry head
  kEntryDataTooLong,    // an entry holds more than 100 bytes of data
  kBlockPastEnd,        // an object block starts or ends past the end of the file
  kBlockTooLong,        // an object block is longer than 16384 bytes
  kChainWithoutEnd,     // an object's sub-records run past its block without an end
  kOutOfMemory,         // the rewritten file could not be held in memory
  kOutputTooLarge,      // the rewritten file would pass what 32-bit offsets describe
};

struct SceneryError {
  SceneryFault fault;
  uint32_t offset;  // file offset of the record or block at fault
};

constexpr SceneryError kNoSceneryError{SceneryFault::kNone, 0};

// One line of English saying what is wrong, without the offset.
const char* DescribeSceneryFault(SceneryFault fault);
