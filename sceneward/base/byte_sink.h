#pragma once

#include <cstdint>

// A file being built in memory, with a fixed capacity. An append that does
// not fit is dropped and marks the sink as overflowed, so that the builder
// can run to its end and the caller checks once.
struct ByteSink {
  uint8_t* bytes;
  uint32_t capacity;
  uint32_t size;
  bool overflowed;
};

inline ByteSink MakeByteSink(uint8_t* bytes, uint32_t capacity) {
  return ByteSink{bytes, capacity, 0, false};
}

void AppendBytes(ByteSink& sink, const void* data, uint32_t count);
void AppendByte(ByteSink& sink, uint8_t value);
