#include "soak_heap.h"

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
  heap.inner = platform;
  platform.context = &heap;
  platform.alloc_block = Alloc;
  platform.free_block = Free;
  platform.open_read = [](void* c, const char* p) {
    return Inner(c).open_read(Inner(c).context, p);
  };
  platform.file_length = [](void* c, FileHandle f) {
    return Inner(c).file_length(Inner(c).context, f);
  };
  platform.read = [](void* c, FileHandle f, void* b, uint32_t n) {
    return Inner(c).read(Inner(c).context, f, b, n);
  };
  platform.close = [](void* c, FileHandle f) { Inner(c).close(Inner(c).context, f); };
  platform.open_write = [](void* c, const char* p) {
    return Inner(c).open_write(Inner(c).context, p);
  };
  platform.write = [](void* c, FileHandle f, const void* d, uint32_t n) {
    return Inner(c).write(Inner(c).context, f, d, n);
  };
  platform.finish_write = [](void* c, FileHandle f) {
    return Inner(c).finish_write(Inner(c).context, f);
  };
  platform.replace_file = [](void* c, const char* from, const char* to) {
    return Inner(c).replace_file(Inner(c).context, from, to);
  };
  platform.remove_file = [](void* c, const char* p) { Inner(c).remove_file(Inner(c).context, p); };
  platform.calendar_time = [](void* c) { return Heap(c).calendar_time; };
}
