#pragma once

#include <cstdint>
#include <set>

#include "rally/host/platform.h"

// Counts the module's heap blocks: put in front of the platform the module
// was bound with, it hands every operation on and keeps the blocks that
// are taken and not yet given back. The clock answers a fixed time, so a
// run depends on its seed alone.
struct SoakHeap {
  PlatformOps inner;
  std::set<const void*> live;
  int64_t allocations = 0;
  int64_t frees_of_unknown_blocks = 0;  // a block freed twice, or never taken
  uint32_t calendar_time = 0;
};

void CountSoakHeap(PlatformOps& platform, SoakHeap& heap);
