#include "common/win32/file_moves_win32.h"

#include <windows.h>

#include <cstring>

#include "common/path_beside.h"

namespace {

constexpr DWORD kNoAttributes = 0xFFFFFFFF;  // what GetFileAttributesA returns for no file

bool Exists(void*, const char* path) {
  return GetFileAttributesA(path) != kNoAttributes;
}

bool Unreplaceable(void*, const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != kNoAttributes &&
         (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0;
}

// GetTempFileNameA makes the file so that no other caller takes the name;
// MoveFileA wants it absent, so it is removed again at once.
bool SpareName(void*, const char* path, char* out, uint32_t size) {
  char folder[MAX_PATH];
  if (size < MAX_PATH || !PathBeside(path, "", folder, sizeof folder)) return false;
  if (folder[0] == '\0') std::strcpy(folder, ".");
  if (GetTempFileNameA(folder, "AER", 0, out) == 0) return false;
  return DeleteFileA(out) != 0;
}

bool Move(void*, const char* from, const char* to) {
  return MoveFileA(from, to) != 0;
}

bool Remove(void*, const char* path) {
  return DeleteFileA(path) != 0;
}

}  // namespace

FileMoves Win32FileMoves() {
  return FileMoves{nullptr, Exists, Unreplaceable, SpareName, Move, Remove};
}
