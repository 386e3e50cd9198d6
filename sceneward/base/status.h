#pragma once

// Layer sceneward/base: what every part of Sceneward shares, at the bottom:
// the status codes, the diagnostics that name a file and a line, byte
// buffers and little-endian access. It uses nothing but the C runtime.

#include <cstdint>

// The codes VISEdit and AreaKill hand back to the setup program. The setup
// scripts compare against these numbers, so they never change.
enum SceneStatus : int32_t {
  kStatusOk = 0,
  kStatusLibraryNotOpened = 1,  // the library cannot be opened for reading and writing
  kStatusLibraryFormat = 2,     // the library is not a scenery library this program knows
  kStatusNotWritten = 3,        // the library (or a scenery file) could not be rewritten
  kStatusScriptNotOpened = 4,   // the edit script cannot be opened
  kStatusScriptFaulty = 5,      // the edit script is faulty
  kStatusNoMemory = 6,          // not enough memory for a file's contents
};

// The status an export returns: 0 until a step fails, then the code of the
// latest failure. Nothing clears it, not even the start of the next call, so
// a setup that checks only its last call still learns of an earlier failure.
struct LastStatus {
  int32_t code;
};

inline void RecordFailure(LastStatus& status, int32_t code) {
  if (code != kStatusOk) status.code = code;
}

// A short English description of a status code, for the command-line tool.
const char* DescribeStatus(int32_t code);
