#include "tools/aerilon-course/scores/memory_file_platform.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

MemoryFile& FileOf(void* context) {
  return *static_cast<MemoryFile*>(context);
}

void* Alloc(void*, uint32_t size) {
  return std::malloc(size == 0 ? 1 : size);
}
void Free(void*, void* block) {
  std::free(block);
}

FileHandle OpenRead(void* context, const char*) {
  FileOf(context).position = 0;
  return context;
}
int64_t Length(void* context, FileHandle) {
  return static_cast<int64_t>(FileOf(context).bytes->size());
}
uint32_t Read(void* context, FileHandle, void* buffer, uint32_t count) {
  MemoryFile& file = FileOf(context);
  size_t rest = file.bytes->size() - std::min(file.position, file.bytes->size());
  size_t got = std::min<size_t>(count, rest);
  if (got > 0) std::memcpy(buffer, file.bytes->data() + file.position, got);
  file.position += got;
  return static_cast<uint32_t>(got);
}
void Close(void*, FileHandle) {}

FileHandle RefuseWrite(void*, const char*) {
  return nullptr;
}
uint32_t WriteNothing(void*, FileHandle, const void*, uint32_t) {
  return 0;
}
bool FinishNothing(void*, FileHandle) {
  return false;
}
ReplaceOutcome ReplaceNothing(void*, const char*, const char*) {
  return ReplaceOutcome::kUnchanged;
}
void RemoveNothing(void*, const char*) {}
uint32_t NoTime(void*) {
  return 0;
}

}  // namespace

PlatformOps MakeMemoryFilePlatform(MemoryFile* file) {
  PlatformOps ops{};
  ops.context = file;
  ops.alloc_block = Alloc;
  ops.free_block = Free;
  ops.open_read = OpenRead;
  ops.file_length = Length;
  ops.read = Read;
  ops.close = Close;
  ops.open_write = RefuseWrite;
  ops.write = WriteNothing;
  ops.finish_write = FinishNothing;
  ops.replace_file = ReplaceNothing;
  ops.remove_file = RemoveNothing;
  ops.calendar_time = NoTime;
  return ops;
}
