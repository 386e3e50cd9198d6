#include "sceneward/library/area_list.h"

#include <cstring>

namespace {

// The end of the terminated text at `offset`, just after its terminator, or 0
// when no terminator lies inside the image.
uint32_t TextEnd(const uint8_t* bytes, uint32_t size, uint32_t offset) {
  if (offset >= size) return 0;
  const void* terminator = std::memchr(bytes + offset, 0, size - offset);
  if (terminator == nullptr) return 0;
  return static_cast<uint32_t>(static_cast<const uint8_t*>(terminator) - bytes) + 1;
}

}  // namespace

AreaStep ReadAreaEntry(const uint8_t* bytes, uint32_t size, uint32_t offset, AreaEntry* entry) {
  if (offset >= size) return AreaStep::kMalformed;
  if (bytes[offset] == 0) return AreaStep::kEndOfList;
  if (size - offset <= kAreaEntryPatternAt) return AreaStep::kMalformed;
  uint32_t pattern_end = TextEnd(bytes, size, offset + kAreaEntryPatternAt);
  if (pattern_end == 0) return AreaStep::kMalformed;
  uint32_t title_end = TextEnd(bytes, size, pattern_end);
  if (title_end == 0) return AreaStep::kMalformed;
  entry->offset = offset;
  entry->end = title_end;
  entry->type = bytes[offset + 1];
  entry->active_flag = bytes[offset + 2];
  entry->folder_pattern = reinterpret_cast<const char*>(bytes + offset + kAreaEntryPatternAt);
  entry->title = reinterpret_cast<const char*>(bytes + pattern_end);
  return AreaStep::kEntry;
}

bool FindAreaEntry(const LibraryImage& image, const char* title, AreaEntry* found) {
  uint32_t offset = static_cast<uint32_t>(SectionOffset(image, kAreaListSection));
  AreaEntry entry;
  while (ReadAreaEntry(image.bytes, image.size, offset, &entry) == AreaStep::kEntry) {
    if (std::strcmp(entry.title, title) == 0) {
      *found = entry;
      return true;
    }
    offset = entry.end;
  }
  return false;
}
