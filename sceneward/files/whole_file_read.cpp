#include "sceneward/files/whole_file_read.h"

#include <cstring>

namespace {

// Reads until `size` bytes are in or the file ends; false when a read fails.
bool ReadBytes(const FileReadSteps& steps, uint8_t* bytes, uint32_t size, uint32_t* done) {
  *done = 0;
  while (*done < size) {
    int64_t got = steps.read(steps.context, bytes + *done, size - *done);
    if (got < 0) return false;
    if (got == 0) return true;
    // A read never hands over more than asked; a claim beyond it is a fault.
    if (static_cast<uint64_t>(got) > size - *done) return false;
    *done += static_cast<uint32_t>(got);
  }
  return true;
}

// True when the file ends right where its length said.
bool EndsHere(const FileReadSteps& steps) {
  uint8_t probe;
  return steps.read(steps.context, &probe, 1) == 0;
}

}  // namespace

ReadOutcome ReadWholeFileBySteps(FileSystem& fs, const FileReadSteps& steps, const char* path,
                                 OpenMode mode, uint32_t extra, FileBlock* out) {
  if (!steps.open(steps.context, path, mode)) return ReadOutcome::kCannotOpen;
  uint64_t length = 0;
  if (!steps.length(steps.context, &length)) {
    steps.close(steps.context);
    return ReadOutcome::kCannotOpen;
  }
  if (length + extra > 0x7FFFFFFF) {
    steps.close(steps.context);
    return ReadOutcome::kNoMemory;
  }
  uint32_t size = static_cast<uint32_t>(length);
  uint8_t* bytes = static_cast<uint8_t*>(fs.AllocateBlock(size + extra));
  if (bytes == nullptr) {
    steps.close(steps.context);
    return ReadOutcome::kNoMemory;
  }
  uint32_t got = 0;
  bool whole = ReadBytes(steps, bytes, size, &got) && got == size && EndsHere(steps);
  steps.close(steps.context);
  if (!whole) {
    fs.FreeBlock(bytes);
    return ReadOutcome::kReadFailed;
  }
  std::memset(bytes + size, 0, extra);
  *out = FileBlock{bytes, size};
  return ReadOutcome::kRead;
}
