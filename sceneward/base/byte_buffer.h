#pragma once

#include <cstdint>

enum class BufferFailure : uint8_t {
  kNone,
  kNoMemory,
  kTooLarge,  // past what 32-bit file offsets describe
};

// A growable block of bytes taken from the C heap, standing in for a file
// that is written in memory. It never shrinks. A write that cannot be
// stored sets `failure`; later writes are ignored, so a caller checks once
// at the end.
struct ByteBuffer {
  uint8_t* data;
  uint32_t size;
  uint32_t capacity;
  BufferFailure failure;
};

constexpr ByteBuffer kEmptyByteBuffer{nullptr, 0, 0, BufferFailure::kNone};

// Writes `count` bytes at `position`, extending the buffer as needed (a gap
// before `position` is filled with zeros).
void ByteBufferWriteAt(ByteBuffer& buffer, uint32_t position, const uint8_t* bytes, uint32_t count);

inline void ByteBufferAppend(ByteBuffer& buffer, const uint8_t* bytes, uint32_t count) {
  ByteBufferWriteAt(buffer, buffer.size, bytes, count);
}

// Takes room for `capacity` bytes ahead, sparing the copies of growing step
// by step. Failing is harmless: the writes then grow the buffer themselves.
void ByteBufferReserve(ByteBuffer& buffer, uint32_t capacity);

void ByteBufferFree(ByteBuffer& buffer);

// Read-only bytes of a source file.
struct ByteSpan {
  const uint8_t* data;
  uint32_t size;
};

// True when `count` bytes from `offset` lie inside the span.
inline bool SpanHolds(const ByteSpan& span, uint32_t offset, uint32_t count) {
  return offset <= span.size && count <= span.size - offset;
}
