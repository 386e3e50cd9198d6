#pragma once

#include <cstdint>

#include "sceneward/library/library_file.h"

// One entry of the area list: mark, type code, active flag, then two
// terminated texts, the folder pattern and the title.
constexpr uint32_t kAreaEntryPatternAt = 3;

struct AreaEntry {
  uint32_t offset;  // of its mark byte
  uint32_t end;     // just after the title's terminator
  uint8_t type;
  uint8_t active_flag;
  const char* folder_pattern;  // inside the image
  const char* title;           // inside the image
};

enum class AreaStep { kEntry, kEndOfList, kMalformed };

// Reads the entry at `offset`: kEndOfList on the list's zero byte; kMalformed
// when the entry or the list's end would lie beyond the image.
AreaStep ReadAreaEntry(const uint8_t* bytes, uint32_t size, uint32_t offset, AreaEntry* entry);

// The area list's first entry whose title equals `title` byte for byte;
// false when none does. The image must have passed CheckLibraryImage.
bool FindAreaEntry(const LibraryImage& image, const char* title, AreaEntry* found);
