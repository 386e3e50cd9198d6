#pragma once

#include <cstdint>

#include "sceneward/base/byte_buffer.h"
#include "sceneward/scenery/scenery_error.h"
#include "sceneward/script/kill_area.h"

// The rectangles whose objects are removed.
struct KillAreaList {
  const KillArea* areas;
  int32_t count;
};

bool PointInAnyKillArea(const KillAreaList& list, int32_t latitude, int32_t longitude);

enum class KeepDecision { kKeep, kDrop, kFault };

// Decides an object entry: the object is dropped when its position lies
// inside any of the areas, and kept when it lies in none or its block has no
// position. A kept object's block is appended to `output`, and the data
// offset in `entry_head` (the 8-byte entry head) is set to its new place.
KeepDecision KeepObject(ByteBuffer& output, const ByteSpan& source, const KillAreaList& areas,
                        uint8_t* entry_head, SceneryError& error);
