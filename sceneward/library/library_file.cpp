#include "sceneward/library/library_file.h"

#include "common/little_endian.h"
#include "sceneward/base/status.h"
#include "sceneward/library/area_list.h"

namespace {

constexpr int32_t kNoBound = 32767;

bool CheckSectionOffsets(const uint8_t* bytes, uint32_t size, Diagnostic* problem) {
  for (int section = 1; section <= kLibrarySections; ++section) {
    int32_t offset = load_i16le(bytes + SectionOffsetField(section));
    if (offset < 0 || static_cast<uint32_t>(offset) > size) {
      SetDiagnostic(problem, nullptr, 0, "section %d starts at %d, outside the file's %u bytes",
                    section, static_cast<int>(offset), static_cast<unsigned>(size));
      return false;
    }
  }
  return true;
}

// The list, its entries and its zero byte, must lie inside its own section:
// the rewrite copies the list's section whole behind the new entry, so a list
// running on into another section would lose its end there.
bool CheckAreaList(const LibraryImage& image, Diagnostic* problem) {
  uint32_t offset = static_cast<uint32_t>(SectionOffset(image, kAreaListSection));
  uint32_t section_end = SectionEnd(image, offset);
  AreaEntry entry;
  for (int index = 0;; ++index) {
    switch (ReadAreaEntry(image.bytes, section_end, offset, &entry)) {
      case AreaStep::kEntry: offset = entry.end; break;
      case AreaStep::kEndOfList: return true;
      case AreaStep::kMalformed:
        SetDiagnostic(problem, nullptr, 0,
                      "the area list runs past the end of its section at entry %d (byte %u)", index,
                      static_cast<unsigned>(offset));
        return false;
    }
  }
}

}  // namespace

int32_t SectionOffset(const LibraryImage& image, int section) {
  return load_i16le(image.bytes + SectionOffsetField(section));
}

uint32_t SectionEnd(const LibraryImage& image, uint32_t offset) {
  int32_t bound = kNoBound;
  for (int section = 1; section <= kLibrarySections; ++section) {
    int32_t other = SectionOffset(image, section);
    if (other > static_cast<int32_t>(offset) && other < bound) bound = other;
  }
  return bound == kNoBound ? image.size : static_cast<uint32_t>(bound);
}

bool CheckLibraryImage(const uint8_t* bytes, uint32_t size, Diagnostic* problem) {
  if (size < kLibraryHeaderSize) {
    SetDiagnostic(problem, nullptr, 0, "only %u bytes long, shorter than a library header",
                  static_cast<unsigned>(size));
    return false;
  }
  if (load_u16le(bytes + kLibrarySignatureField) != kLibrarySignature ||
      load_u32le(bytes + kLibraryFormatMarkField) != kLibraryFormatMark) {
    SetDiagnostic(problem, nullptr, 0, "not a scenery library (wrong signature or format mark)");
    return false;
  }
  if (!CheckSectionOffsets(bytes, size, problem)) return false;
  // Only read from here on: the image type holds a writable pointer.
  LibraryImage image{const_cast<uint8_t*>(bytes), size};
  return CheckAreaList(image, problem);
}

int32_t LoadLibraryFile(FileSystem& fs, const char* path, LibraryImage* image, Diagnostic* problem,
                        OpenMode mode) {
  FileBlock block;
  switch (fs.ReadWholeFile(path, mode, 0, &block)) {
    case ReadOutcome::kCannotOpen:
      SetDiagnostic(problem, path, 0, "cannot open the scenery library for reading%s",
                    mode == OpenMode::kReadWrite ? " and writing" : "");
      return kStatusLibraryNotOpened;
    case ReadOutcome::kReadFailed:
      SetDiagnostic(problem, path, 0, "the scenery library could not be read whole");
      return kStatusLibraryNotOpened;
    case ReadOutcome::kNoMemory:
      SetDiagnostic(problem, path, 0, "not enough memory for the scenery library");
      return kStatusNoMemory;
    case ReadOutcome::kRead: break;
  }
  if (!CheckLibraryImage(block.bytes, block.size, problem)) {
    if (problem != nullptr) problem->file = path;
    fs.FreeBlock(block.bytes);
    return kStatusLibraryFormat;
  }
  image->bytes = block.bytes;
  image->size = block.size;
  return kStatusOk;
}

void FreeLibraryImage(FileSystem& fs, LibraryImage* image) {
  fs.FreeBlock(image->bytes);
  image->bytes = nullptr;
  image->size = 0;
}
