#include "sceneward/base/status.h"

const char* DescribeStatus(int32_t code) {
  switch (code) {
    case kStatusOk: return "no failure";
    case kStatusLibraryNotOpened:
      return "the scenery library cannot be opened for reading and writing";
    case kStatusLibraryFormat: return "the file is not a scenery library of the known format";
    case kStatusNotWritten: return "the file could not be rewritten";
    case kStatusScriptNotOpened: return "the edit script cannot be opened";
    case kStatusScriptFaulty: return "the edit script is faulty";
    case kStatusNoMemory: return "not enough memory";
    default: return "unknown status";
  }
}
