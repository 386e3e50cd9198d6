#include "sceneward/library/library_writer.h"

#include <cstring>

#include "common/little_endian.h"
#include "sceneward/library/area_list.h"

namespace {

const char kPatternTail[] = "\\*.BGL";  // written with its terminator

// The sections before the area list, in the order they are written.
const int kLeadingSections[] = {1, 2, 3, 6};

uint32_t OldOffset(const LibraryImage& image, int section) {
  return static_cast<uint32_t>(SectionOffset(image, section));
}

void RebuildAreaList(ByteSink& sink, const LibraryImage& image, const EditParameters& edit) {
  uint32_t list = OldOffset(image, kAreaListSection);
  uint32_t resume = list;
  AreaEntry match;
  if (FindAreaEntry(image, edit.title, &match)) {
    AppendBytes(sink, image.bytes + list, match.offset - list);
    resume = match.end;
  }
  if (edit.remove == 0) WriteAreaEntry(sink, edit);
  CopySection(sink, image, resume);
}

void WriteHeader(ByteSink& sink, const uint32_t (&offsets)[kLibrarySections + 1]) {
  uint8_t* header = sink.bytes;
  std::memset(header, 0, kLibraryHeaderSize);
  store_u16le(header + kLibraryLengthField, static_cast<uint16_t>(sink.size));
  store_u16le(header + kLibrarySignatureField, kLibrarySignature);
  for (int section = 1; section <= kLibrarySections; ++section) {
    store_u16le(header + SectionOffsetField(section), static_cast<uint16_t>(offsets[section]));
  }
  store_u32le(header + kLibraryFormatMarkField, kLibraryFormatMark);
}

}  // namespace

void CopySection(ByteSink& sink, const LibraryImage& image, uint32_t offset) {
  uint32_t end = SectionEnd(image, offset);
  if (end > offset) AppendBytes(sink, image.bytes + offset, end - offset);
}

void WriteAreaEntry(ByteSink& sink, const EditParameters& edit) {
  AppendByte(sink, 1);
  AppendByte(sink, edit.type);
  AppendByte(sink, edit.active_flag);
  const char* folder = edit.folder != nullptr ? edit.folder : "";
  AppendBytes(sink, folder, static_cast<uint32_t>(std::strlen(folder)));
  AppendBytes(sink, kPatternTail, sizeof kPatternTail);
  AppendBytes(sink, edit.title, static_cast<uint32_t>(std::strlen(edit.title)) + 1);
}

bool WriteLibraryFile(const LibraryImage& image, const EditParameters& edit, ByteSink& sink) {
  uint8_t placeholder[kLibraryHeaderSize] = {};
  AppendBytes(sink, placeholder, sizeof placeholder);
  uint32_t offsets[kLibrarySections + 1] = {};
  for (int section : kLeadingSections) {
    offsets[section] = sink.size;
    CopySection(sink, image, OldOffset(image, section));
  }
  offsets[kAreaListSection] = sink.size;
  RebuildAreaList(sink, image, edit);
  offsets[5] = sink.size;
  CopySection(sink, image, OldOffset(image, 5));
  if (sink.overflowed || sink.size > kLibraryMaxLength) return false;
  WriteHeader(sink, offsets);
  return true;
}
