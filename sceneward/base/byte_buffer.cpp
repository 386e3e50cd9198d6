#include "sceneward/base/byte_buffer.h"

#include <cstdlib>
#include <cstring>

namespace {

bool Reserve(ByteBuffer& buffer, uint32_t needed) {
  if (needed <= buffer.capacity) return true;
  uint32_t capacity = buffer.capacity < 4096 ? 4096 : buffer.capacity;
  while (capacity < needed) {
    capacity = capacity > 0x7FFFFFFFu ? 0xFFFFFFFFu : capacity * 2;
  }
  void* grown = std::realloc(buffer.data, capacity);
  if (grown == nullptr) return false;
  buffer.data = static_cast<uint8_t*>(grown);
  buffer.capacity = capacity;
  return true;
}

}  // namespace

void ByteBufferWriteAt(ByteBuffer& buffer, uint32_t position, const uint8_t* bytes,
                       uint32_t count) {
  if (buffer.failure != BufferFailure::kNone) return;
  if (position > 0xFFFFFFFFu - count) {
    buffer.failure = BufferFailure::kTooLarge;
    return;
  }
  const uint32_t end = position + count;
  if (!Reserve(buffer, end)) {
    buffer.failure = BufferFailure::kNoMemory;
    return;
  }
  if (position > buffer.size) std::memset(buffer.data + buffer.size, 0, position - buffer.size);
  if (count > 0) std::memcpy(buffer.data + position, bytes, count);
  if (end > buffer.size) buffer.size = end;
}

void ByteBufferReserve(ByteBuffer& buffer, uint32_t capacity) {
  Reserve(buffer, capacity);
}

void ByteBufferFree(ByteBuffer& buffer) {
  std::free(buffer.data);
  buffer = kEmptyByteBuffer;
}
