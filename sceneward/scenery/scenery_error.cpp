#include "sceneward/scenery/scenery_error.h"

const char* DescribeSceneryFault(SceneryFault fault) {
  switch (fault) {
    case SceneryFault::kNone: return "no fault";
    case SceneryFault::kShortHeader: return "file is shorter than its 128-byte header";
    case SceneryFault::kNotIndexed: return "file has no object index (no index mark)";
    case SceneryFault::kShortExtension:
      return "indexed file is too short for its 40-byte extension block";
    case SceneryFault::kIndexOffsetPastEnd: return "object index offset points past the end";
    case SceneryFault::kRecordPastEnd: return "index record runs past the end of the file";
    case SceneryFault::kNoEndRecord: return "object index has no end record";
    case SceneryFault::kNoListHead: return "object index has no list head before its entries";
    case SceneryFault::kSecondListHead: return "object index holds a second list head";
    case SceneryFault::kEntryTooShort: return "index entry is shorter than its 8-byte head";
    case SceneryFault::kEntryDataTooLong: return "index entry holds more than 100 bytes of data";
    case SceneryFault::kBlockPastEnd: return "object block lies past the end of the file";
    case SceneryFault::kBlockTooLong: return "object block is longer than 16384 bytes";
    case SceneryFault::kChainWithoutEnd:
      return "object block's sub-records run past its end without an end mark";
    case SceneryFault::kOutOfMemory: return "not enough memory for the rewritten file";
    case SceneryFault::kOutputTooLarge: return "rewritten file would be larger than 4 GiB";
  }
  return "unknown fault";
}
