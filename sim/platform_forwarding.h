#pragma once

#include "rally/host/platform.h"

// Puts `wrapper` in front of `platform`: the wrapper keeps the platform as
// its member `inner`, and every operation is handed on to it with its own
// context. The caller then replaces the operations the wrapper changes
// (the heap of a counting wrapper, say).
template <typename Wrapper>
void ForwardPlatformTo(PlatformOps& platform, Wrapper& wrapper) {
  wrapper.inner = platform;
  platform.context = &wrapper;
  static auto inner = [](void* c) -> PlatformOps& { return static_cast<Wrapper*>(c)->inner; };
  platform.alloc_block = [](void* c, uint32_t size) {
    return inner(c).alloc_block(inner(c).context, size);
  };
  platform.free_block = [](void* c, void* b) { inner(c).free_block(inner(c).context, b); };
  platform.open_read = [](void* c, const char* p) {
    return inner(c).open_read(inner(c).context, p);
  };
  platform.file_length = [](void* c, FileHandle f) {
    return inner(c).file_length(inner(c).context, f);
  };
  platform.read = [](void* c, FileHandle f, void* b, uint32_t n) {
    return inner(c).read(inner(c).context, f, b, n);
  };
  platform.close = [](void* c, FileHandle f) { inner(c).close(inner(c).context, f); };
  platform.open_write = [](void* c, const char* p) {
    return inner(c).open_write(inner(c).context, p);
  };
  platform.write = [](void* c, FileHandle f, const void* d, uint32_t n) {
    return inner(c).write(inner(c).context, f, d, n);
  };
  platform.finish_write = [](void* c, FileHandle f) {
    return inner(c).finish_write(inner(c).context, f);
  };
  platform.replace_file = [](void* c, const char* from, const char* to) {
    return inner(c).replace_file(inner(c).context, from, to);
  };
  platform.remove_file = [](void* c, const char* p) { inner(c).remove_file(inner(c).context, p); };
  platform.calendar_time = [](void* c) { return inner(c).calendar_time(inner(c).context); };
}
