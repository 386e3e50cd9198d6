#pragma once

#include <cstdint>

#include "sceneward/base/byte_buffer.h"

// The index work file, held in memory: the new list is written at a
// position that can be moved back over entries that turn out unwanted.
// Like the file it stands for it is never shortened, so bytes written
// before a rewind stay beyond the list's final end record and are carried
// along into the rewritten index.
struct WorkFile {
  ByteBuffer bytes;
  uint32_t position;
};

constexpr WorkFile kEmptyWorkFile{kEmptyByteBuffer, 0};

inline void WorkFileWrite(WorkFile& work, const uint8_t* bytes, uint32_t count) {
  ByteBufferWriteAt(work.bytes, work.position, bytes, count);
  if (work.bytes.failure == BufferFailure::kNone) work.position += count;
}

inline void WorkFileRewind(WorkFile& work, uint32_t position) {
  work.position = position;
}
