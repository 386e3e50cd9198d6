#include "tests/support/counting_heap.h"

#include <algorithm>

#include "sim/platform_forwarding.h"

namespace {

void* CountingAlloc(void* c, uint32_t size) {
  auto* h = static_cast<CountingHeap*>(c);
  h->allocations += 1;
  if (h->refuse || h->allocations == h->fail_allocation) return nullptr;
  void* block = h->inner.alloc_block(h->inner.context, size);
  h->live.push_back(block);
  return block;
}

void CountingFree(void* c, void* block) {
  auto* h = static_cast<CountingHeap*>(c);
  h->frees += 1;
  auto it = std::find(h->live.begin(), h->live.end(), block);
  if (it != h->live.end()) h->live.erase(it);
  h->inner.free_block(h->inner.context, block);
}

}  // namespace

void CountHeap(PlatformOps& platform, CountingHeap& heap) {
  ForwardPlatformTo(platform, heap);
  platform.alloc_block = CountingAlloc;
  platform.free_block = CountingFree;
}

PlatformOps CountedPlatform(CountingHeap& heap, StdioPlatform& files) {
  PlatformOps ops = MakeStdioPlatform(&files);
  CountHeap(ops, heap);
  return ops;
}
