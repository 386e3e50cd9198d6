#include "sceneward/win32/file_system_win32.h"

#include "sceneward/win32/win32_api.h"

#include <cstdlib>
#include <cstring>

#include "common/win32/file_moves_win32.h"
#include "sceneward/files/file_pattern.h"
#include "sceneward/files/whole_file_read.h"

namespace {

static_assert(MAX_PATH <= kLongestPathBytes, "Windows paths fit every buffer here");

// The steps of reading a whole file, on the handle in the context.
bool OpenForRead(void* context, const char* path, OpenMode mode) {
  DWORD access = GENERIC_READ | (mode == OpenMode::kReadWrite ? GENERIC_WRITE : 0);
  HANDLE file = CreateFileA(path, access, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  *static_cast<HANDLE*>(context) = file;
  return file != INVALID_HANDLE_VALUE;
}

bool LengthOfFile(void* context, uint64_t* length) {
  DWORD high = 0;
  DWORD low = GetFileSize(*static_cast<HANDLE*>(context), &high);
  if (low == 0xFFFFFFFF && GetLastError() != NO_ERROR) return false;
  *length = static_cast<uint64_t>(high) << 32 | low;
  return true;
}

int64_t ReadSome(void* context, uint8_t* bytes, uint32_t count) {
  DWORD got = 0;
  if (!ReadFile(*static_cast<HANDLE*>(context), bytes, count, &got, nullptr)) return -1;
  return got;
}

void CloseRead(void* context) {
  CloseHandle(*static_cast<HANDLE*>(context));
}

bool IsFolder(const WIN32_FIND_DATAA& found) {
  return (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The matching names of the current folder, NUL-separated in one block, taken
// before any is visited: a visitor that renames files in the folder then
// neither meets a renamed file again nor misses one. The pattern is checked
// again on the long name, because FindFirstFileA also matches the short 8.3
// name ("*.BGL" would find "town.bglx" through "TOWN~1.BGL").
char* MatchingNames(const char* pattern, size_t* total, bool* listed) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern, &found);
  char* names = static_cast<char*>(std::malloc(1));
  size_t used = 0;
  if (search == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    *listed = error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES;
    *total = 0;
    return names;
  }
  bool more = true;
  while (names != nullptr && more) {
    if (!IsFolder(found) && MatchFilePattern(pattern, found.cFileName)) {
      size_t length = std::strlen(found.cFileName) + 1;
      char* grown = static_cast<char*>(std::realloc(names, used + length));
      if (grown == nullptr) std::free(names);
      names = grown;
      if (names != nullptr) std::memcpy(names + used, found.cFileName, length);
      used += length;
    }
    more = FindNextFileA(search, &found) != 0;
  }
  *listed = more || GetLastError() == ERROR_NO_MORE_FILES;
  FindClose(search);
  *total = used;
  return names;
}

}  // namespace

void* Win32FileSystem::AllocateBlock(uint32_t size) {
  return HeapAlloc(GetProcessHeap(), 0, size == 0 ? 1 : size);
}

void Win32FileSystem::FreeBlock(void* block) {
  if (block != nullptr) HeapFree(GetProcessHeap(), 0, block);
}

// Windows' MAX_PATH. A longer path that a caller passes in is handed to the
// system as it is, which refuses it.
uint32_t Win32FileSystem::MaxPathBytes() {
  return MAX_PATH;
}

ReadOutcome Win32FileSystem::ReadWholeFile(const char* path, OpenMode mode, uint32_t extra,
                                           FileBlock* out) {
  HANDLE file = INVALID_HANDLE_VALUE;
  FileReadSteps steps{&file, OpenForRead, LengthOfFile, ReadSome, CloseRead};
  return ReadWholeFileBySteps(*this, steps, path, mode, extra, out);
}

FileHandle Win32FileSystem::CreateNewFile(const char* path) {
  HANDLE file =
      CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  return file == INVALID_HANDLE_VALUE ? nullptr : file;
}

bool Win32FileSystem::WriteBytes(FileHandle file, const void* data, uint32_t count) {
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  uint32_t done = 0;
  while (done < count) {
    DWORD put = 0;
    if (!WriteFile(file, bytes + done, count - done, &put, nullptr) || put == 0) return false;
    done += put;
  }
  return true;
}

bool Win32FileSystem::CloseFile(FileHandle file) {
  // The data must be on the disk before the file takes another's place.
  bool flushed = FlushFileBuffers(file) != 0;
  bool closed = CloseHandle(file) != 0;
  return flushed && closed;
}

// The Windows systems this runs on have no symbolic links.
bool Win32FileSystem::FollowLinks(const char* path, char* out, uint32_t size) {
  return CopyPath(path, out, size);
}

// The old file is kept under a spare name until the new one is in place, so
// no call needs MoveFileExA, which Windows 9x lacks.
ReplaceOutcome Win32FileSystem::ReplaceFile(const char* replacement, const char* target) {
  return ReplaceByMoves(Win32FileMoves(), replacement, target);
}

bool Win32FileSystem::RemoveFile(const char* path) {
  return DeleteFileA(path) != 0;
}

// Fails when a file named `to` exists already: MoveFileA never replaces.
bool Win32FileSystem::RenameFile(const char* from, const char* to) {
  return MoveFileA(from, to) != 0;
}

bool Win32FileSystem::HasDriveLetters() {
  return true;
}

bool Win32FileSystem::ChangeFolder(const char* path) {
  return SetCurrentDirectoryA(path) != 0;
}

// GetCurrentDirectoryA answers the length it needs when the buffer is too
// small, and 0 on failure.
bool Win32FileSystem::CurrentFolder(char* out, uint32_t size) {
  DWORD length = GetCurrentDirectoryA(size, out);
  return length > 0 && length < size;
}

bool Win32FileSystem::ListFolder(const char* pattern,
                                 bool (*visit)(void* context, const char* name), void* context) {
  size_t total = 0;
  bool listed = false;
  char* names = MatchingNames(pattern, &total, &listed);
  if (names == nullptr) return false;
  for (size_t at = 0; listed && at < total; at += std::strlen(names + at) + 1) {
    if (!visit(context, names + at)) break;
  }
  std::free(names);
  return listed;
}
