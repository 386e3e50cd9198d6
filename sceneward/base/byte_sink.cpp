#include "sceneward/base/byte_sink.h"

#include <cstring>

void AppendBytes(ByteSink& sink, const void* data, uint32_t count) {
  if (sink.overflowed || count > sink.capacity - sink.size) {
    sink.overflowed = true;
    return;
  }
  if (count > 0) std::memcpy(sink.bytes + sink.size, data, count);
  sink.size += count;
}

void AppendByte(ByteSink& sink, uint8_t value) {
  AppendBytes(sink, &value, 1);
}
