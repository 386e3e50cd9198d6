#pragma once

// Layer sceneward/library: the scenery library file, WORLD.VIS: loading it,
// its area list, and rewriting it with the add-on's entry. It uses base/,
// files/ and script/.

#include <cstdint>

#include "sceneward/base/diagnostic.h"
#include "sceneward/files/file_system.h"

// The simulator's scenery library (WORLD.VIS): a 36-byte header, then six
// sections whose offsets the header holds as signed 16-bit words. Section 4
// is the area list; the others belong to the simulator and are carried over
// unread.
constexpr uint32_t kLibraryHeaderSize = 36;
constexpr uint32_t kLibraryLengthField = 0;
constexpr uint32_t kLibrarySignatureField = 2;
constexpr uint32_t kLibraryReservedField = 16;
constexpr uint32_t kLibraryReservedSize = 16;
constexpr uint32_t kLibraryFormatMarkField = 32;
constexpr uint16_t kLibrarySignature = 0x524D;
constexpr uint32_t kLibraryFormatMark = 118;
constexpr int kLibrarySections = 6;
constexpr int kAreaListSection = 4;
// The greatest length a library may have: every offset and the length itself
// must stay a positive signed 16-bit word, and a section running to this
// bound is read as running to the end of the file.
constexpr uint32_t kLibraryMaxLength = 32767;

// The whole file as read, in one block of the file system.
struct LibraryImage {
  uint8_t* bytes;
  uint32_t size;
};

// The header field holding the offset of section 1 to 6.
inline uint32_t SectionOffsetField(int section) {
  return 4 + 2 * static_cast<uint32_t>(section - 1);
}

// The old offset of section 1 to 6, as the signed word it is stored as.
int32_t SectionOffset(const LibraryImage& image, int section);

// Where the section holding `offset` ends: at the least section offset
// above it, or at the end of the file when none lies above it (a bound of
// 32767 or more counts as none). Sections that share an offset each run to
// the next greater one.
uint32_t SectionEnd(const LibraryImage& image, uint32_t offset);

// Whether the bytes are a library this program can rewrite without reading
// past them: the signature and the format mark, every section offset inside
// the file, an area list whose every entry and whose ending zero byte lie
// inside the list's own section. False with the reason.
bool CheckLibraryImage(const uint8_t* bytes, uint32_t size, Diagnostic* problem);

// Reads and checks the library at `path`. The exports insist that it could
// be written too (kReadWrite), so that a library they cannot rewrite is
// refused before anything else happens; a mere viewer reads it read-only.
// Returns 0, or 1 (cannot open), 6 (no memory), 2 (not a library); on
// failure nothing is held.
int32_t LoadLibraryFile(FileSystem& fs, const char* path, LibraryImage* image, Diagnostic* problem,
                        OpenMode mode = OpenMode::kReadWrite);

void FreeLibraryImage(FileSystem& fs, LibraryImage* image);
