#pragma once

#include <cstdint>

#include "sceneward/base/byte_buffer.h"
#include "sceneward/scenery/scenery_error.h"

// Checked readers of the pieces of an indexed scenery file. Each reads only
// inside the source's bytes and says what is wrong otherwise.

// One record of the object index.
struct IndexRecord {
  uint32_t offset;  // file offset of the record head
  uint16_t type;
  uint32_t size;    // the head's size field
  uint32_t length;  // bytes the record takes in the file
  // Entries only:
  uint16_t object_class;
  uint16_t kind;
  uint32_t data_offset;
  uint32_t data_size;  // entry data behind the entry head
};

bool ReadIndexRecord(const ByteSpan& source, uint32_t offset, IndexRecord& record,
                     SceneryError& error);

// An object block and what its chain of sub-records says about the object.
struct ObjectBlock {
  uint32_t offset;
  uint32_t size;  // the whole block, head included
  bool has_position;
  int32_t latitude;
  int32_t longitude;
};

bool ReadObjectBlock(const ByteSpan& source, uint32_t offset, ObjectBlock& block,
                     SceneryError& error);

// The file offset of the object index, read from the extension block.
bool ReadIndexOffset(const ByteSpan& source, uint32_t& index_offset, SceneryError& error);

bool IsIndexedSceneryFile(const ByteSpan& source);
