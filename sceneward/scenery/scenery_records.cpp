#include "sceneward/scenery/scenery_records.h"

#include "common/little_endian.h"
#include "sceneward/scenery/scenery_file.h"

using namespace scenery;

namespace {

bool Fail(SceneryError& error, SceneryFault fault, uint32_t offset) {
  error = SceneryError{fault, offset};
  return false;
}

// The length in the file of a record whose head has been read.
bool MeasureRecord(const ByteSpan& source, IndexRecord& record, SceneryError& error) {
  switch (record.type) {
    case kEndRecord: record.length = kRecordHeadSize; break;
    case kListHead: record.length = kListRecordSize; break;
    case kIndexEntry:
      if (record.size < kEntryHeadSize) {
        return Fail(error, SceneryFault::kEntryTooShort, record.offset);
      }
      if (record.size - kEntryHeadSize > kMaxEntryData) {
        return Fail(error, SceneryFault::kEntryDataTooLong, record.offset);
      }
      record.length = kRecordHeadSize + record.size;
      break;
    default: record.length = kRecordHeadSize; break;
  }
  if (!SpanHolds(source, record.offset, record.length)) {
    return Fail(error, SceneryFault::kRecordPastEnd, record.offset);
  }
  return true;
}

void ReadEntryHead(const uint8_t* head, IndexRecord& record) {
  record.object_class = load_u16le(head + kEntryClassField);
  record.kind = load_u16le(head + kEntryKindField);
  record.data_offset = load_u32le(head + kEntryDataOffsetField);
  record.data_size = record.size - kEntryHeadSize;
}

}  // namespace

bool ReadIndexRecord(const ByteSpan& source, uint32_t offset, IndexRecord& record,
                     SceneryError& error) {
  record = IndexRecord{};
  record.offset = offset;
  if (offset >= source.size) return Fail(error, SceneryFault::kNoEndRecord, offset);
  if (!SpanHolds(source, offset, kRecordHeadSize)) {
    return Fail(error, SceneryFault::kRecordPastEnd, offset);
  }
  const uint8_t* head = source.data + offset;
  record.type = load_u16le(head + kRecordTypeField);
  record.size = load_u32le(head + kRecordSizeField);
  if (!MeasureRecord(source, record, error)) return false;
  if (record.type == kIndexEntry) ReadEntryHead(head + kRecordHeadSize, record);
  return true;
}

bool ReadObjectBlock(const ByteSpan& source, uint32_t offset, ObjectBlock& block,
                     SceneryError& error) {
  block = ObjectBlock{};
  block.offset = offset;
  if (!SpanHolds(source, offset, kSubRecordHeadSize)) {
    return Fail(error, SceneryFault::kBlockPastEnd, offset);
  }
  const uint32_t length = load_u32le(source.data + offset + 4);
  if (length > kMaxObjectBlock - kSubRecordHeadSize) {
    return Fail(error, SceneryFault::kBlockTooLong, offset);
  }
  block.size = kSubRecordHeadSize + length;
  if (!SpanHolds(source, offset, block.size)) {
    return Fail(error, SceneryFault::kBlockPastEnd, offset);
  }
  const uint8_t* bytes = source.data + offset;
  // The walk moves forward by at least 8 bytes a step, so it ends; 64-bit
  // arithmetic keeps a huge sub-record length from wrapping around.
  uint64_t at = 0;
  while (at + kSubRecordHeadSize <= block.size) {
    const uint16_t a = load_u16le(bytes + at);
    const uint16_t b = load_u16le(bytes + at + 2);
    if (a == 0) return true;
    const uint16_t selector = static_cast<uint16_t>(a + b);
    if (selector == kSelectorFixed16) {
      at += kFixedSubRecordSize;
    } else if (selector == kSelectorPosition || selector == kSelectorPosition2) {
      if (at + kSubRecordHeadSize + kPositionBodySize > block.size) break;
      const uint8_t* body = bytes + at + kSubRecordHeadSize;
      block.has_position = true;
      block.latitude = load_i32le(body + kPositionLatitudeField);
      block.longitude = load_i32le(body + kPositionLongitudeField);
      return true;
    } else {
      at += kSubRecordHeadSize + static_cast<uint64_t>(load_u32le(bytes + at + 4));
    }
  }
  return Fail(error, SceneryFault::kChainWithoutEnd, offset);
}

bool ReadIndexOffset(const ByteSpan& source, uint32_t& index_offset, SceneryError& error) {
  if (!SpanHolds(source, kExtensionOffset, kExtensionSize)) {
    return Fail(error, SceneryFault::kShortExtension, kExtensionOffset);
  }
  index_offset = load_u32le(source.data + kExtensionOffset + kExtensionIndexOffsetField);
  if (index_offset >= source.size) {
    return Fail(error, SceneryFault::kIndexOffsetPastEnd, kExtensionOffset);
  }
  return true;
}

bool IsIndexedSceneryFile(const ByteSpan& source) {
  return SpanHolds(source, kIndexedMarkOffset, 4) &&
         load_u32le(source.data + kIndexedMarkOffset) == kIndexedFileMark;
}
