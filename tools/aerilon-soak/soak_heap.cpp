#include "tools/aerilon-soak/soak_heap.h"

#include "sim/platform_forwarding.h"

namespace {

SoakHeap& Heap(void* c) {
  return *static_cast<SoakHeap*>(c);
}
PlatformOps& Inner(void* c) {
  return Heap(c).inner;
}

void* Alloc(void* c, uint32_t size) {
  void* block = Inner(c).alloc_block(Inner(c).context, size);
  if (block != nullptr) {
    Heap(c).allocations += 1;
    Heap(c).live.insert(block);
  }
  return block;
}

void Free(void* c, void* block) {
  if (Heap(c).live.erase(block) == 0) Heap(c).frees_of_unknown_blocks += 1;
  Inner(c).free_block(Inner(c).context, block);
}

}  // namespace

void CountSoakHeap(PlatformOps& platform, SoakHeap& heap) {
  ForwardPlatformTo(platform, heap);
  platform.alloc_block = Alloc;
  platform.free_block = Free;
  platform.calendar_time = [](void* c) { return Heap(c).calendar_time; };
}
