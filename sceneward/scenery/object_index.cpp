#include "sceneward/scenery/object_index.h"

#include <cstring>

#include "common/little_endian.h"
#include "sceneward/scenery/rebuild_state.h"
#include "sceneward/scenery/scenery_file.h"
#include "sceneward/scenery/scenery_records.h"

using namespace scenery;

namespace {

struct Rebuild {
  ByteBuffer& output;
  const ByteSpan& source;
  const KillAreaList& areas;
  SceneryError& error;
  uint32_t& objects_dropped;
  WorkFile work;
  RebuildState state;
};

bool Fail(Rebuild& r, SceneryFault fault, uint32_t offset) {
  r.error = SceneryError{fault, offset};
  return false;
}

void StartList(Rebuild& r, const IndexRecord& record) {
  r.state.headers[1] = 0;
  r.state.entry_count = 0;
  r.state.list_position = r.work.position;
  r.state.has_list = true;
  WorkFileWrite(r.work, r.source.data + record.offset, kListRecordSize);
}

// Writes an entry's record head, the (possibly changed) entry head and its
// data to the new list.
void WriteEntry(Rebuild& r, const IndexRecord& record, const uint8_t* entry_head) {
  const uint8_t* at = r.source.data + record.offset;
  WorkFileWrite(r.work, at, kRecordHeadSize);
  WorkFileWrite(r.work, entry_head, kEntryHeadSize);
  WorkFileWrite(r.work, at + kRecordHeadSize + kEntryHeadSize, record.data_size);
  r.state.entry_count += 1;
}

void PlaceGroupHeader(Rebuild& r, const IndexRecord& record, int level) {
  for (int deeper = 4; deeper > level; --deeper) DropLevel(r.state, r.work, deeper);
  PlaceHeader(r.state, r.work, level);
  WriteEntry(r, record, r.source.data + record.offset + kRecordHeadSize);
  NoteHeaderWritten(r.state, r.work, level);
}

bool ActOnObject(Rebuild& r, const IndexRecord& record) {
  uint8_t entry_head[kEntryHeadSize];
  std::memcpy(entry_head, r.source.data + record.offset + kRecordHeadSize, kEntryHeadSize);
  const KeepDecision decision = KeepObject(r.output, r.source, r.areas, entry_head, r.error);
  if (decision == KeepDecision::kFault) return false;
  if (decision == KeepDecision::kKeep) {
    WriteEntry(r, record, entry_head);
    NoteObjectKept(r.state, record.object_class);
  } else {
    r.objects_dropped += 1;
  }
  return true;
}

bool ActOnEntry(Rebuild& r, const IndexRecord& record) {
  if (!r.state.has_list) return Fail(r, SceneryFault::kNoListHead, record.offset);
  if (record.kind >= kKindLevel1 && record.kind <= kKindLevel4) {
    PlaceGroupHeader(r, record, record.kind);
    return true;
  }
  if (record.kind == kKindObject) return ActOnObject(r, record);
  WriteEntry(r, record, r.source.data + record.offset + kRecordHeadSize);
  return true;
}

// Reads the source's index into the work file; `end_record` is left at
// the offset of the index's end record.
bool WalkIndex(Rebuild& r, uint32_t index_offset, uint32_t& end_record) {
  uint32_t offset = index_offset;
  for (;;) {
    IndexRecord record;
    if (!ReadIndexRecord(r.source, offset, record, r.error)) return false;
    switch (record.type) {
      case kEndRecord:
        if (!r.state.has_list) return Fail(r, SceneryFault::kNoListHead, offset);
        end_record = offset;
        return true;
      case kListHead:
        if (r.state.has_list) return Fail(r, SceneryFault::kSecondListHead, offset);
        StartList(r, record);
        break;
      case kIndexEntry:
        if (!ActOnEntry(r, record)) return false;
        break;
      default: break;  // other records are left out of the new index
    }
    offset += record.length;
  }
}

// The list head read back from the work file, with its size and count made
// to describe the new list, and everything behind it.
void AppendNewList(Rebuild& r) {
  const ByteBuffer& work = r.work.bytes;
  const uint32_t list = r.state.list_position;
  uint8_t head[kListRecordSize];
  std::memcpy(head, work.data + list, kListRecordSize);
  store_u32le(head + kRecordSizeField, work.size - list - kRecordHeadSize);
  store_u32le(head + kRecordHeadSize + kListCountField, r.state.entry_count);
  ByteBufferAppend(r.output, head, kListRecordSize);
  ByteBufferAppend(r.output, work.data + list + kListRecordSize,
                   work.size - list - kListRecordSize);
}

void FinishIndex(Rebuild& r, uint32_t end_record, uint32_t extension_position) {
  ClosingPass(r.state, r.work);
  const uint8_t* end = r.source.data + end_record;
  WorkFileWrite(r.work, end, kRecordHeadSize);
  ByteBufferAppend(r.output, end, kRecordHeadSize);
  if (r.output.failure != BufferFailure::kNone || r.work.bytes.failure != BufferFailure::kNone) {
    return;
  }
  store_u32le(r.output.data + extension_position + kExtensionIndexOffsetField, r.output.size);
  AppendNewList(r);
  const uint8_t trailer[kTrailerSize] = {};
  ByteBufferAppend(r.output, trailer, kTrailerSize);
}

SceneryFault BufferFault(const ByteBuffer& output, const ByteBuffer& work) {
  const BufferFailure failure =
      output.failure != BufferFailure::kNone ? output.failure : work.failure;
  if (failure == BufferFailure::kNone) return SceneryFault::kNone;
  return failure == BufferFailure::kTooLarge ? SceneryFault::kOutputTooLarge
                                             : SceneryFault::kOutOfMemory;
}

}  // namespace

RebuildResult RebuildObjectIndex(ByteBuffer& output, const ByteSpan& source,
                                 const KillAreaList& areas, SceneryError& error,
                                 uint32_t& objects_dropped) {
  error = kNoSceneryError;
  objects_dropped = 0;
  if (!IsIndexedSceneryFile(source)) return RebuildResult::kNotIndexed;
  uint32_t index_offset = 0;
  if (!ReadIndexOffset(source, index_offset, error)) return RebuildResult::kFailed;
  const uint32_t extension_position = output.size;
  ByteBufferAppend(output, source.data + kExtensionOffset, kExtensionSize);

  Rebuild r{output, source, areas, error, objects_dropped, kEmptyWorkFile, kFreshRebuildState};
  uint32_t end_record = 0;
  bool walked = WalkIndex(r, index_offset, end_record);
  if (walked) FinishIndex(r, end_record, extension_position);
  const SceneryFault buffer_fault = BufferFault(output, r.work.bytes);
  ByteBufferFree(r.work.bytes);
  if (!walked) return RebuildResult::kFailed;
  if (buffer_fault != SceneryFault::kNone) {
    error = SceneryError{buffer_fault, 0};
    return RebuildResult::kFailed;
  }
  return RebuildResult::kRebuilt;
}
