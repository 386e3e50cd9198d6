#pragma once

#include <vector>

#include "rally/host/platform.h"
#include "rally/host/stdio_platform.h"

// A heap in front of a platform that counts its blocks, keeps the live
// ones and can refuse the n-th allocation or every one; every other
// operation is handed on to the platform with its own context.
struct CountingHeap {
  PlatformOps inner;
  int allocations = 0;
  int frees = 0;
  int fail_allocation = 0;  // 1-based index of the allocation to refuse; 0 = none
  bool refuse = false;      // refuse every allocation
  std::vector<void*> live;
};

// Puts the counting heap in front of `platform`.
void CountHeap(PlatformOps& platform, CountingHeap& heap);

// The C runtime's platform over `files`, its heap counted.
PlatformOps CountedPlatform(CountingHeap& heap, StdioPlatform& files);
