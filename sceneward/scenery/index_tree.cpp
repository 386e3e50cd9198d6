#include "sceneward/scenery/index_tree.h"

#include <cstdarg>
#include <cstdio>

#include "common/c_runtime.h"
#include "common/little_endian.h"
#include "sceneward/scenery/scenery_file.h"
#include "sceneward/scenery/scenery_records.h"

using namespace scenery;

namespace {

constexpr double kLatitudeUnitsPerDegree = 10001750.0 / 90.0;
constexpr double kLongitudeUnitsPerDegree = 2147483648.0 / 180.0;

struct Tree {
  const ByteSpan& file;
  IndexTreeLineSink sink;
  void* context;
  SceneryError& error;
  int depth;  // the level of the latest group header
};

void Line(Tree& t, int indent, const char* format, ...) __attribute__((format(printf, 3, 4)));

void Line(Tree& t, int indent, const char* format, ...) {
  char line[320];
  int used = 0;
  for (int i = 0; i < indent && used < 16; ++i) {
    line[used++] = ' ';
    line[used++] = ' ';
  }
  va_list arguments;
  va_start(arguments, format);
  FormatFitsV(line + used, sizeof line - used, format, arguments);  // cut to fit
  va_end(arguments);
  t.sink(t.context, line);
}

bool Fail(Tree& t, SceneryFault fault, uint32_t offset) {
  t.error = SceneryError{fault, offset};
  return false;
}

void ShowBox(Tree& t) {
  const uint8_t* h = t.file.data;
  const int32_t north = load_i32le(h + kBoxNorthOffset), south = load_i32le(h + kBoxSouthOffset);
  const int32_t east = load_i32le(h + kBoxEastOffset), west = load_i32le(h + kBoxWestOffset);
  Line(t, 0,
       "box: north %d (%.6f deg), south %d (%.6f deg), east %d (%.6f deg), west %d (%.6f deg)",
       north, north / kLatitudeUnitsPerDegree, south, south / kLatitudeUnitsPerDegree, east,
       east / kLongitudeUnitsPerDegree, west, west / kLongitudeUnitsPerDegree);
}

bool ShowObject(Tree& t, const IndexRecord& r) {
  ObjectBlock block;
  if (!ReadObjectBlock(t.file, r.data_offset, block, t.error)) return false;
  if (!block.has_position) {
    Line(t, t.depth, "@%u object of class %u, data %u bytes, block @%u of %u bytes, no position",
         r.offset, r.object_class, r.data_size, block.offset, block.size);
    return true;
  }
  Line(t, t.depth,
       "@%u object of class %u, data %u bytes, block @%u of %u bytes, latitude %d (%.6f deg), "
       "longitude %d (%.6f deg)",
       r.offset, r.object_class, r.data_size, block.offset, block.size, block.latitude,
       block.latitude / kLatitudeUnitsPerDegree, block.longitude,
       block.longitude / kLongitudeUnitsPerDegree);
  return true;
}

bool ShowEntry(Tree& t, const IndexRecord& r) {
  if (r.kind >= kKindLevel1 && r.kind <= kKindLevel4) {
    Line(t, r.kind - 1, "@%u level %u group, class %u, data %u bytes", r.offset, r.kind,
         r.object_class, r.data_size);
    t.depth = r.kind;
    return true;
  }
  if (r.kind == kKindObject) return ShowObject(t, r);
  Line(t, t.depth, "@%u entry of kind %u, class %u, data offset %u, data %u bytes", r.offset,
       r.kind, r.object_class, r.data_offset, r.data_size);
  return true;
}

bool ShowList(Tree& t, uint32_t offset) {
  bool has_list = false;
  for (;;) {
    IndexRecord r;
    if (!ReadIndexRecord(t.file, offset, r, t.error)) return false;
    if (r.type == kEndRecord) {
      if (!has_list) return Fail(t, SceneryFault::kNoListHead, offset);
      Line(t, 0, "@%u end of index", offset);
      return true;
    }
    if (r.type == kListHead) {
      if (has_list) return Fail(t, SceneryFault::kSecondListHead, offset);
      has_list = true;
      Line(t, 0, "@%u list of %u entries, size %u", offset,
           load_u32le(t.file.data + offset + kRecordHeadSize + kListCountField), r.size);
    } else if (r.type == kIndexEntry) {
      if (!has_list) return Fail(t, SceneryFault::kNoListHead, offset);
      if (!ShowEntry(t, r)) return false;
    } else {
      Line(t, t.depth, "@%u record of type %u, size %u", offset, r.type, r.size);
    }
    offset += r.length;
  }
}

}  // namespace

bool FormatIndexTree(const ByteSpan& file, IndexTreeLineSink sink, void* context,
                     SceneryError& error) {
  error = kNoSceneryError;
  Tree t{file, sink, context, error, 0};
  if (!SpanHolds(file, 0, kHeaderSize)) return Fail(t, SceneryFault::kShortHeader, 0);
  ShowBox(t);
  if (!IsIndexedSceneryFile(file)) return Fail(t, SceneryFault::kNotIndexed, kIndexedMarkOffset);
  uint32_t index_offset = 0;
  if (!ReadIndexOffset(file, index_offset, error)) return false;
  Line(t, 0, "index at offset %u", index_offset);
  return ShowList(t, index_offset);
}
