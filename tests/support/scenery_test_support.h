#pragma once

// Helpers for the scenery removal tests: building entries and objects
// tersely, running the filter on written bytes, and reading a rewritten
// file's new list back.

#include <cstdint>
#include <vector>

#include "common/little_endian.h"
#include "sceneward/scenery/scenery_file.h"
#include "sceneward/scenery/scenery_filter.h"
#include "sceneward/script/kill_area.h"
#include "sceneward/writer/scenery_writer.h"

namespace scenery_test {

using scenery_source::Entry;
using scenery_source::EntryBytes;
using scenery_source::ListHeadBytes;
using scenery_source::Object;
using scenery_source::ObjectBlockBytes;
using scenery_source::OtherRecord;
using scenery_source::SceneryFile;
using scenery_source::WrittenFile;

// One area in the middle of a file box; "in" and "out" positions.
constexpr KillArea kArea{1000, 5000, 3000, 2000};  // west, north, east, south
constexpr int32_t kInsideLatitude = 3500, kInsideLongitude = 2000;
constexpr int32_t kOutsideLatitude = 6000, kOutsideLongitude = 2000;

inline SceneryFile FileOverArea() {
  SceneryFile file;
  file.north = 9000;
  file.south = 0;
  file.east = 9000;
  file.west = 0;
  return file;
}

inline Entry Header(uint16_t level, uint8_t tag = 0) {
  Entry entry;
  entry.kind = level;
  entry.data = {static_cast<uint8_t>(0x40 + level), tag, 0x11, 0x22};
  entry.data_offset = 0xABCD0000u + level;
  entry.carried = static_cast<uint16_t>(0x100 + level);
  return entry;
}

inline Entry OtherKind(uint16_t kind, uint8_t tag = 0) {
  Entry entry;
  entry.kind = kind;
  entry.data = {0x77, tag};
  entry.data_offset = 0x5151;
  return entry;
}

// Adds an object at the given place and returns its entry.
inline Entry AddObject(SceneryFile& file, uint16_t object_class, bool inside) {
  Object object;
  object.latitude = inside ? kInsideLatitude : kOutsideLatitude;
  object.longitude = inside ? kInsideLongitude : kOutsideLongitude;
  object.before.push_back({3, 0, {1, 2, 3, static_cast<uint8_t>(file.objects.size())}});
  file.objects.push_back(object);
  Entry entry;
  entry.kind = scenery::kKindObject;
  entry.object_class = object_class;
  entry.object = static_cast<int>(file.objects.size()) - 1;
  entry.data = {0x0B, static_cast<uint8_t>(file.objects.size())};
  return entry;
}

struct Filtered {
  FilterOutcome outcome;
  std::vector<uint8_t> bytes;
  SceneryError error;
};

inline Filtered Filter(const std::vector<uint8_t>& source, const std::vector<KillArea>& areas,
                       const KillArea& bounds) {
  // The source is copied into a block of exactly its size, so that a read
  // past its end is caught by the address sanitizer.
  std::vector<uint8_t> exact(source);
  exact.shrink_to_fit();
  const ByteSpan span{exact.data(), static_cast<uint32_t>(exact.size())};
  FilterResult result = FilterSceneryBytes(
      span, KillAreaList{areas.data(), static_cast<int32_t>(areas.size())}, bounds);
  Filtered filtered{result.outcome, {}, result.error};
  filtered.bytes.assign(result.rewritten.data, result.rewritten.data + result.rewritten.size);
  ByteBufferFree(result.rewritten);
  return filtered;
}

inline Filtered FilterInArea(const std::vector<uint8_t>& source) {
  return Filter(source, {kArea}, kArea);
}

// The new list of a rewritten file as read back by a reader that stops at
// the first end record.
struct ReadBackList {
  bool ok = false;
  uint32_t count_field = 0;
  uint32_t size_field = 0;
  std::vector<std::vector<uint8_t>> entries;  // whole records
  std::vector<std::vector<uint8_t>> blocks;   // the object blocks the object entries point to
  uint32_t list_offset = 0;
};

inline ReadBackList ReadNewList(const std::vector<uint8_t>& file) {
  ReadBackList list;
  if (file.size() < scenery::kHeaderSize + scenery::kExtensionSize) return list;
  uint32_t at =
      load_u32le(file.data() + scenery::kExtensionOffset + scenery::kExtensionIndexOffsetField);
  list.list_offset = at;
  if (at + 24 > file.size() || load_u16le(file.data() + at) != scenery::kListHead) return list;
  list.size_field = load_u32le(file.data() + at + 4);
  list.count_field = load_u32le(file.data() + at + 8 + scenery::kListCountField);
  at += 24;
  while (at + 8 <= file.size()) {
    const uint16_t type = load_u16le(file.data() + at);
    if (type == scenery::kEndRecord) {
      list.ok = true;
      return list;
    }
    if (type != scenery::kIndexEntry) return list;
    const uint32_t size = load_u32le(file.data() + at + 4);
    if (at + 8 + size > file.size()) return list;
    list.entries.emplace_back(file.begin() + at, file.begin() + at + 8 + size);
    if (load_u16le(file.data() + at + 10) == scenery::kKindObject) {
      const uint32_t block = load_u32le(file.data() + at + 12);
      if (block + 8 > file.size()) return list;
      const uint32_t length = load_u32le(file.data() + block + 4);
      if (block + 8 + length > file.size()) return list;
      list.blocks.emplace_back(file.begin() + block, file.begin() + block + 8 + length);
    }
    at += 8 + size;
  }
  return list;
}

inline uint16_t EntryKind(const std::vector<uint8_t>& record) {
  return load_u16le(&record[10]);
}

}  // namespace scenery_test
