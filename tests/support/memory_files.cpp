#include "tests/support/memory_files.h"

#include <cstdlib>
#include <cstring>

namespace {

MemoryFiles& Files(void* context) {
  return *static_cast<MemoryFiles*>(context);
}

void* Alloc(void* context, uint32_t size) {
  MemoryFiles& f = Files(context);
  if (++f.allocations == f.fail_allocation) return nullptr;
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) return nullptr;
  std::memset(block, MemoryFiles::kPoison, size);
  f.live_blocks += 1;
  return block;
}

void Free(void* context, void* block) {
  if (block == nullptr) return;
  Files(context).live_blocks -= 1;
  std::free(block);
}

bool Faulted(const MemoryFiles& f, const std::string& path) {
  return !f.faults.path.empty() && f.faults.path == path;
}

FileHandle OpenRead(void* context, const char* path) {
  MemoryFiles& f = Files(context);
  if (f.files.count(path) == 0) return nullptr;
  if (Faulted(f, path) && f.faults.fail_open) return nullptr;
  uintptr_t handle = f.next_handle++;
  f.open[handle] = MemoryFiles::OpenFile{path, false, 0, false, {}};
  return reinterpret_cast<FileHandle>(handle);
}

MemoryFiles::OpenFile* Opened(MemoryFiles& f, FileHandle file) {
  auto it = f.open.find(reinterpret_cast<uintptr_t>(file));
  return it == f.open.end() ? nullptr : &it->second;
}

int64_t FileLength(void* context, FileHandle file) {
  MemoryFiles& f = Files(context);
  MemoryFiles::OpenFile* o = Opened(f, file);
  if (o == nullptr || o->writing) return -1;
  if (Faulted(f, o->path) && f.faults.unknown_length) return -1;
  o->length_told = true;
  return static_cast<int64_t>(f.files[o->path].size());
}

uint32_t Read(void* context, FileHandle file, void* buffer, uint32_t count) {
  MemoryFiles& f = Files(context);
  MemoryFiles::OpenFile* o = Opened(f, file);
  if (o == nullptr || o->writing) return 0;
  std::vector<uint8_t>& bytes = f.files[o->path];
  if (Faulted(f, o->path)) {
    const ReadFaults& faults = f.faults;
    if (o->length_told && faults.shrink_to >= 0 &&
        bytes.size() > static_cast<size_t>(faults.shrink_to)) {
      bytes.resize(static_cast<size_t>(faults.shrink_to));
    }
    if (faults.read_limit != 0 && count > faults.read_limit) count = faults.read_limit;
    if (faults.fail_after >= 0) {
      size_t limit = static_cast<size_t>(faults.fail_after);
      if (o->position >= limit) return 0;
      if (count > limit - o->position) count = static_cast<uint32_t>(limit - o->position);
    }
  }
  size_t left = o->position < bytes.size() ? bytes.size() - o->position : 0;
  uint32_t got = left < count ? static_cast<uint32_t>(left) : count;
  if (got > 0) std::memcpy(buffer, bytes.data() + o->position, got);
  o->position += got;
  f.bytes_handed_out += got;
  return got;
}

void Close(void* context, FileHandle file) {
  Files(context).open.erase(reinterpret_cast<uintptr_t>(file));
}

FileHandle OpenWrite(void* context, const char* path) {
  MemoryFiles& f = Files(context);
  uintptr_t handle = f.next_handle++;
  f.open[handle] = MemoryFiles::OpenFile{path, true, 0, false, {}};
  return reinterpret_cast<FileHandle>(handle);
}

uint32_t Write(void* context, FileHandle file, const void* data, uint32_t count) {
  MemoryFiles::OpenFile* o = Opened(Files(context), file);
  if (o == nullptr || !o->writing) return 0;
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  o->bytes.insert(o->bytes.end(), bytes, bytes + count);
  return count;
}

bool FinishWrite(void* context, FileHandle file) {
  MemoryFiles& f = Files(context);
  MemoryFiles::OpenFile* o = Opened(f, file);
  if (o == nullptr || !o->writing) return false;
  f.files[o->path] = o->bytes;
  f.open.erase(reinterpret_cast<uintptr_t>(file));
  return true;
}

ReplaceOutcome ReplaceFile(void* context, const char* from, const char* to) {
  MemoryFiles& f = Files(context);
  if (f.files.count(from) == 0 || f.read_only.count(to) != 0) return ReplaceOutcome::kUnchanged;
  f.files[to] = f.files[from];
  f.files.erase(from);
  return ReplaceOutcome::kReplaced;
}

void RemoveFile(void* context, const char* path) {
  Files(context).files.erase(path);
}

uint32_t CalendarTime(void* context) {
  return Files(context).clock;
}

}  // namespace

PlatformOps MakeMemoryFilesPlatform(MemoryFiles* files) {
  PlatformOps ops{};
  ops.context = files;
  ops.alloc_block = Alloc;
  ops.free_block = Free;
  ops.open_read = OpenRead;
  ops.file_length = FileLength;
  ops.read = Read;
  ops.close = Close;
  ops.open_write = OpenWrite;
  ops.write = Write;
  ops.finish_write = FinishWrite;
  ops.replace_file = ReplaceFile;
  ops.remove_file = RemoveFile;
  ops.calendar_time = CalendarTime;
  return ops;
}
