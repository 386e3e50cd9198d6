#include "sceneward/writer/scenery_writer.h"

#include "common/little_endian.h"
#include "sceneward/scenery/scenery_file.h"

using namespace scenery;

namespace scenery_source {

namespace {

// Byte by byte rather than by inserting a small array, which GCC 12 at -O3
// wrongly reports as an overflow.
void PutU16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
  PutU16(out, static_cast<uint16_t>(value));
  PutU16(out, static_cast<uint16_t>(value >> 16));
}

void PutPattern(std::vector<uint8_t>& out, uint32_t count, uint8_t seed) {
  for (uint32_t i = 0; i < count; ++i) out.push_back(static_cast<uint8_t>(seed + i * 13));
}

void PutSubRecordHead(std::vector<uint8_t>& out, uint16_t a, uint16_t b, uint32_t length) {
  PutU16(out, a);
  PutU16(out, b);
  PutU32(out, length);
}

std::vector<uint8_t> Header(const SceneryFile& file) {
  std::vector<uint8_t> header;
  PutPattern(header, kHeaderSize, 0x21);
  store_i32le(header.data() + kBoxNorthOffset, file.north);
  store_i32le(header.data() + kBoxSouthOffset, file.south);
  store_i32le(header.data() + kBoxEastOffset, file.east);
  store_i32le(header.data() + kBoxWestOffset, file.west);
  store_u32le(header.data() + kIndexedMarkOffset, file.indexed ? kIndexedFileMark : 0x12345678u);
  return header;
}

uint32_t IndexSize(const SceneryFile& file) {
  uint32_t size = 0;
  for (const IndexItem& item : file.index) {
    if (const Entry* entry = std::get_if<Entry>(&item)) {
      size += kRecordHeadSize + kEntryHeadSize + static_cast<uint32_t>(entry->data.size());
    } else {
      size += kRecordHeadSize;
    }
  }
  return size;
}

uint32_t EntryCount(const SceneryFile& file) {
  uint32_t count = 0;
  for (const IndexItem& item : file.index) count += std::holds_alternative<Entry>(item);
  return count;
}

void PutIndex(std::vector<uint8_t>& out, const SceneryFile& file,
              const std::vector<uint32_t>& block_offsets) {
  const std::vector<uint8_t> head =
      ListHeadBytes(file.list_carried, IndexSize(file) + kListBodySize, EntryCount(file));
  out.insert(out.end(), head.begin(), head.end());
  for (const IndexItem& item : file.index) {
    std::vector<uint8_t> bytes;
    if (const Entry* entry = std::get_if<Entry>(&item)) {
      const bool object = entry->kind == kKindObject && entry->object >= 0;
      bytes = EntryBytes(*entry, object ? block_offsets.at(entry->object) : entry->data_offset);
    } else {
      bytes = OtherRecordBytes(std::get<OtherRecord>(item));
    }
    out.insert(out.end(), bytes.begin(), bytes.end());
  }
}

}  // namespace

std::vector<uint8_t> ObjectBlockBytes(const Object& object) {
  std::vector<uint8_t> block;
  PutSubRecordHead(block, kSelectorFixed16, 0, 0);  // length set below
  PutPattern(block, kFixedSubRecordSize - kSubRecordHeadSize, 0x61);
  for (const SubRecord& sub : object.before) {
    PutSubRecordHead(block, sub.a, sub.b, static_cast<uint32_t>(sub.body.size()));
    block.insert(block.end(), sub.body.begin(), sub.body.end());
  }
  if (object.has_position) {
    PutSubRecordHead(block, object.position_a, object.position_b, kPositionBodySize);
    PutPattern(block, 4, 0x71);
    PutU32(block, static_cast<uint32_t>(object.latitude));
    PutPattern(block, 4, 0x75);
    PutU32(block, static_cast<uint32_t>(object.longitude));
  }
  if (object.end_mark) PutSubRecordHead(block, 0, 0, 0);
  store_u32le(block.data() + 4, static_cast<uint32_t>(block.size()) - kSubRecordHeadSize);
  return block;
}

std::vector<uint8_t> ListHeadBytes(uint16_t carried, uint32_t size, uint32_t count) {
  std::vector<uint8_t> head;
  PutU16(head, kListHead);
  PutU16(head, carried);
  PutU32(head, size);
  PutPattern(head, kListBodySize, 0xB1);
  store_u32le(head.data() + kRecordHeadSize + kListCountField, count);
  return head;
}

std::vector<uint8_t> EntryBytes(const Entry& entry, uint32_t data_offset) {
  std::vector<uint8_t> bytes;
  PutU16(bytes, kIndexEntry);
  PutU16(bytes, entry.carried);
  PutU32(bytes, kEntryHeadSize + static_cast<uint32_t>(entry.data.size()));
  PutU16(bytes, entry.object_class);
  PutU16(bytes, entry.kind);
  PutU32(bytes, data_offset);
  bytes.insert(bytes.end(), entry.data.begin(), entry.data.end());
  return bytes;
}

std::vector<uint8_t> OtherRecordBytes(const OtherRecord& record) {
  std::vector<uint8_t> bytes;
  PutU16(bytes, record.type);
  PutU16(bytes, record.carried);
  PutU32(bytes, record.size);
  return bytes;
}

WrittenFile WriteSceneryFile(const SceneryFile& file) {
  WrittenFile written;
  std::vector<uint8_t>& out = written.bytes;
  out = Header(file);
  PutPattern(out, kExtensionSize, 0x35);
  PutPattern(out, file.padding_before_blocks, 0x0D);
  for (const Object& object : file.objects) {
    written.block_offsets.push_back(static_cast<uint32_t>(out.size()));
    const std::vector<uint8_t> block = ObjectBlockBytes(object);
    out.insert(out.end(), block.begin(), block.end());
    PutPattern(out, file.padding_after_block, 0x0B);
  }
  written.index_offset = static_cast<uint32_t>(out.size());
  store_u32le(out.data() + kExtensionOffset + kExtensionIndexOffsetField, written.index_offset);
  PutIndex(out, file, written.block_offsets);
  written.end_offset = static_cast<uint32_t>(out.size());
  if (file.end_record) {
    PutU16(out, kEndRecord);
    PutU16(out, file.end_carried);
    PutU32(out, file.end_size);
  }
  PutPattern(out, file.padding_after_index, 0x0F);
  return written;
}

}  // namespace scenery_source
