#pragma once

#include <cstdint>
#include <variant>
#include <vector>

// A scenery file as a test or a benchmark describes it, and the writer that
// lays it out: header, extension block, object blocks, then the object
// index. Bytes that the removal carries without reading are filled with
// distinct patterns so that a test sees whether they arrive intact.
namespace scenery_source {

// A sub-record of an object block's chain; its length field is the body's size.
struct SubRecord {
  uint16_t a = 3;
  uint16_t b = 0;
  std::vector<uint8_t> body;
};

// An object block: a 16-byte first sub-record, the `before` sub-records,
// then the position sub-record (if any) and an end mark.
struct Object {
  std::vector<SubRecord> before;
  bool has_position = true;
  int32_t latitude = 0;
  int32_t longitude = 0;
  uint16_t position_a = 2;  // the position's selector is a + b: 2 or 5
  uint16_t position_b = 0;
  bool end_mark = true;  // false leaves the chain without its end
};

struct Entry {
  uint16_t kind = 5;  // 1 to 4 group headers, 5 object reference, other kinds
  uint16_t object_class = 0;
  int object = -1;           // kind 5: index into SceneryFile::objects
  uint32_t data_offset = 0;  // other kinds: written as given
  std::vector<uint8_t> data;
  uint16_t carried = 0;  // the record head's carried field
};

// A record of a type other than list head, entry or end: a bare head.
struct OtherRecord {
  uint16_t type = 7;
  uint16_t carried = 0;
  uint32_t size = 0;
};

using IndexItem = std::variant<Entry, OtherRecord>;

struct SceneryFile {
  int32_t north = 0, south = 0, east = 0, west = 0;
  bool indexed = true;
  std::vector<Object> objects;
  std::vector<IndexItem> index;
  uint32_t padding_before_blocks = 0;  // bytes behind the extension block
  uint32_t padding_after_block = 0;    // bytes behind each object block
  uint32_t padding_after_index = 0;    // bytes behind the end record
  uint16_t list_carried = 0x4C48;
  uint16_t end_carried = 0x4E45;
  uint32_t end_size = 0;
  bool end_record = true;  // false ends the index without its end record
};

struct WrittenFile {
  std::vector<uint8_t> bytes;
  std::vector<uint32_t> block_offsets;  // one per object
  uint32_t index_offset = 0;
  uint32_t end_offset = 0;  // the end record, or the end of the index without one
};

std::vector<uint8_t> ObjectBlockBytes(const Object& object);

// The 24 bytes of a list head whose body carries the writer's pattern.
std::vector<uint8_t> ListHeadBytes(uint16_t carried, uint32_t size, uint32_t count);

// The record head, entry head and data of an entry, with `data_offset`
// written into the entry head.
std::vector<uint8_t> EntryBytes(const Entry& entry, uint32_t data_offset);

std::vector<uint8_t> OtherRecordBytes(const OtherRecord& record);

WrittenFile WriteSceneryFile(const SceneryFile& file);

}  // namespace scenery_source
