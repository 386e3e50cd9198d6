#pragma once

// Layer sceneward/scenery: indexed scenery files: their records, which
// objects stay, the object index rebuilt around them, and the index shown
// by the tool. It uses base/ and script/ (the areas to clear).

#include <cstdint>

// The layout of an indexed object scenery file, as far as the area object
// removal reads and writes it. All integers are little-endian; offsets are
// byte offsets from the start of the file. Everything not named here is
// carried over unchanged and never interpreted.
namespace scenery {

// The header: the file's bounding box and the mark of an indexed file.
constexpr uint32_t kHeaderSize = 128;
constexpr uint32_t kBoxNorthOffset = 2;  // latitude units
constexpr uint32_t kBoxSouthOffset = 6;  // latitude units
constexpr uint32_t kBoxEastOffset = 10;  // longitude units
constexpr uint32_t kBoxWestOffset = 14;  // longitude units
constexpr uint32_t kIndexedMarkOffset = 118;
constexpr uint32_t kIndexedFileMark = 0x87654321u;

// The extension block right behind the header; it tells where the index is.
constexpr uint32_t kExtensionOffset = kHeaderSize;
constexpr uint32_t kExtensionSize = 40;
constexpr uint32_t kExtensionIndexOffsetField = 28;

// Every index record begins with this head: type, a carried field, size.
constexpr uint32_t kRecordHeadSize = 8;
constexpr uint32_t kRecordTypeField = 0;
constexpr uint32_t kRecordCarriedField = 2;
constexpr uint32_t kRecordSizeField = 4;

enum RecordType : uint16_t {
  kEndRecord = 0,
  kListHead = 1,  // 16-byte body; its size is the length of the list behind the head
  kIndexEntry = 2,
  // any other type is a bare 8-byte head
};

constexpr uint32_t kListBodySize = 16;
constexpr uint32_t kListCountField = 12;  // within the body
constexpr uint32_t kListRecordSize = kRecordHeadSize + kListBodySize;

// An index entry: record head, entry head {class, kind, data offset}, data.
// The record's size counts the entry head and the data.
constexpr uint32_t kEntryHeadSize = 8;
constexpr uint32_t kEntryClassField = 0;
constexpr uint32_t kEntryKindField = 2;
constexpr uint32_t kEntryDataOffsetField = 4;
constexpr uint32_t kMaxEntryData = 100;

constexpr uint16_t kKindLevel1 = 1;
constexpr uint16_t kKindLevel4 = 4;
constexpr uint16_t kKindObject = 5;  // data offset: the file offset of its object block
// Objects of this class belong under level-4 headers; all others under
// level 2 or 3.
constexpr uint16_t kClassUnderLevel4 = 1;

// An object block is a chain of sub-records {a, b, length}; its own head
// is the first one, and its length covers the rest of the block.
constexpr uint32_t kSubRecordHeadSize = 8;
constexpr uint32_t kMaxObjectBlock = 16384;
constexpr uint16_t kSelectorFixed16 = 1;   // a 16-byte sub-record
constexpr uint16_t kSelectorPosition = 2;  // also 5
constexpr uint16_t kSelectorPosition2 = 5;
constexpr uint32_t kFixedSubRecordSize = 16;
constexpr uint32_t kPositionBodySize = 16;
constexpr uint32_t kPositionLatitudeField = 4;    // within the body
constexpr uint32_t kPositionLongitudeField = 12;  // within the body

// The rewritten index ends with a record of this many zero bytes.
constexpr uint32_t kTrailerSize = 8;

}  // namespace scenery
