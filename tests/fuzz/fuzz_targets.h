#pragma once

#include <cstddef>
#include <cstdint>

// One fuzz target per reader of outside input. Each takes any bytes and
// returns 0; a broken rule stops the process with a message (FuzzCheck),
// as a sanitizer finding does. The fuzz build wraps each one in its own
// libFuzzer program; the unit tests replay the kept inputs through them.
int FuzzCourseFile(const uint8_t* data, size_t size);
int FuzzScoreFile(const uint8_t* data, size_t size);
int FuzzFlightScript(const uint8_t* data, size_t size);
int FuzzCourseSource(const uint8_t* data, size_t size);
int FuzzCourseDecompile(const uint8_t* data, size_t size);
int FuzzEditScript(const uint8_t* data, size_t size);
int FuzzLibrary(const uint8_t* data, size_t size);
int FuzzScenery(const uint8_t* data, size_t size);
int FuzzIslandSource(const uint8_t* data, size_t size);

struct FuzzTarget {
  const char* name;  // also the folder of its corpus and its kept inputs
  int (*run)(const uint8_t* data, size_t size);
};
constexpr FuzzTarget kFuzzTargets[] = {
    {"course_file", FuzzCourseFile},
    {"score_file", FuzzScoreFile},
    {"flight_script", FuzzFlightScript},
    {"course_source", FuzzCourseSource},
    {"course_decompile", FuzzCourseDecompile},
    {"edit_script", FuzzEditScript},
    {"library", FuzzLibrary},
    {"scenery", FuzzScenery},
    {"island_source", FuzzIslandSource},
};

// Stops the process when a rule of the target is broken.
void FuzzCheck(bool holds, const char* rule);
