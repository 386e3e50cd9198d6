#include "rally/host/stdio_platform.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#if !defined(_WIN32)
#include <sys/stat.h>
#endif

namespace {

#if defined(_WIN32)
constexpr char kSeparator = '\\';
#else
constexpr char kSeparator = '/';
#endif

void* HeapAlloc(void*, uint32_t size) {
  return std::malloc(size == 0 ? 1 : size);
}
void HeapFree(void*, void* block) {
  std::free(block);
}

// Windows opens no folder as a file. Here the C runtime would open a folder
// (and block on a named pipe until someone writes to it), so anything but a
// regular file is a file that cannot be opened, as it is there.
bool OpenableAsFile(const char* path) {
#if defined(_WIN32)
  (void)path;
  return true;
#else
  struct stat status;
  return stat(path, &status) == 0 && S_ISREG(status.st_mode);
#endif
}

FileHandle OpenRead(void* context, const char* path) {
  char resolved[520];
  if (!ResolvePlatformPath(*static_cast<StdioPlatform*>(context), path, resolved,
                           sizeof resolved) ||
      !OpenableAsFile(resolved)) {
    return nullptr;
  }
  return std::fopen(resolved, "rb");
}

int64_t FileLength(void*, FileHandle file) {
  std::FILE* f = static_cast<std::FILE*>(file);
  long here = std::ftell(f);
  if (here < 0 || std::fseek(f, 0, SEEK_END) != 0) return -1;
  long end = std::ftell(f);
  std::fseek(f, here, SEEK_SET);
  return end;
}

uint32_t Read(void*, FileHandle file, void* buffer, uint32_t count) {
  return static_cast<uint32_t>(std::fread(buffer, 1, count, static_cast<std::FILE*>(file)));
}

void Close(void*, FileHandle file) {
  std::fclose(static_cast<std::FILE*>(file));
}

FileHandle OpenWrite(void* context, const char* path) {
  char resolved[520];
  if (!ResolvePlatformPath(*static_cast<StdioPlatform*>(context), path, resolved,
                           sizeof resolved)) {
    return nullptr;
  }
  return std::fopen(resolved, "wb");
}

uint32_t Write(void*, FileHandle file, const void* data, uint32_t count) {
  return static_cast<uint32_t>(std::fwrite(data, 1, count, static_cast<std::FILE*>(file)));
}

bool FinishWrite(void*, FileHandle file) {
  std::FILE* f = static_cast<std::FILE*>(file);
  bool flushed = std::fflush(f) == 0 && std::ferror(f) == 0;
  return std::fclose(f) == 0 && flushed;
}

// Windows refuses to replace a file that has the read-only attribute; here a
// file that nobody may write stands for it, whoever runs the program (root
// may write anything), so the stand-in refuses what the DLL would.
bool ReadOnlyFile(const char* path) {
#if defined(_WIN32)
  (void)path;
  return false;  // the DLL's own replace decides there
#else
  struct stat status;
  return stat(path, &status) == 0 && (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
#endif
}

ReplaceOutcome ReplaceFile(void* context, const char* from, const char* to) {
  const StdioPlatform& state = *static_cast<StdioPlatform*>(context);
  char source[520];
  char target[520];
  if (!ResolvePlatformPath(state, from, source, sizeof source) ||
      !ResolvePlatformPath(state, to, target, sizeof target) || ReadOnlyFile(target)) {
    return ReplaceOutcome::kUnchanged;
  }
  // POSIX rename replaces the target in one step.
  return std::rename(source, target) == 0 ? ReplaceOutcome::kReplaced : ReplaceOutcome::kUnchanged;
}

void RemoveFile(void* context, const char* path) {
  char resolved[520];
  if (ResolvePlatformPath(*static_cast<StdioPlatform*>(context), path, resolved, sizeof resolved)) {
    std::remove(resolved);
  }
}

uint32_t CalendarTime(void*) {
  return static_cast<uint32_t>(std::time(nullptr));
}

}  // namespace

bool ResolvePlatformPath(const StdioPlatform& state, const char* path, char* out, uint32_t size) {
  uint32_t n = 0;
  auto put = [&](char c) {
    if (n + 1 >= size) return false;
    out[n++] = (c == '\\' || c == '/') ? kSeparator : c;
    return true;
  };
  for (const char* p = state.root; *p; ++p) {
    if (!put(*p)) return false;
  }
  if (state.root[0] != '\0' && state.root[std::strlen(state.root) - 1] != '/' &&
      state.root[std::strlen(state.root) - 1] != '\\' && !put('/')) {
    return false;
  }
  for (const char* p = path; *p; ++p) {
    if (!put(*p)) return false;
  }
  out[n] = '\0';
  return true;
}

PlatformOps MakeStdioPlatform(StdioPlatform* state) {
  PlatformOps ops{};
  ops.context = state;
  ops.alloc_block = HeapAlloc;
  ops.free_block = HeapFree;
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
