#include "sceneward/scenery/keep_object.h"

#include "common/little_endian.h"
#include "sceneward/scenery/scenery_file.h"
#include "sceneward/scenery/scenery_records.h"

bool PointInAnyKillArea(const KillAreaList& list, int32_t latitude, int32_t longitude) {
  for (int32_t i = 0; i < list.count; ++i) {
    if (PointInKillArea(list.areas[i], latitude, longitude)) return true;
  }
  return false;
}

KeepDecision KeepObject(ByteBuffer& output, const ByteSpan& source, const KillAreaList& areas,
                        uint8_t* entry_head, SceneryError& error) {
  ObjectBlock block;
  const uint32_t block_offset = load_u32le(entry_head + scenery::kEntryDataOffsetField);
  if (!ReadObjectBlock(source, block_offset, block, error)) return KeepDecision::kFault;
  if (block.has_position && PointInAnyKillArea(areas, block.latitude, block.longitude)) {
    return KeepDecision::kDrop;
  }
  store_u32le(entry_head + scenery::kEntryDataOffsetField, output.size);
  ByteBufferAppend(output, source.data + block.offset, block.size);
  return KeepDecision::kKeep;
}
