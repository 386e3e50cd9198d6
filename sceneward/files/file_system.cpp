#include "sceneward/files/file_system.h"

#include <cstring>

bool CopyPath(const char* path, char* out, uint32_t size) {
  size_t length = std::strlen(path);
  if (length >= size) return false;
  std::memcpy(out, path, length + 1);
  return true;
}

bool WriteNewFile(FileSystem& fs, const char* path, const uint8_t* data, uint32_t size) {
  FileHandle file = fs.CreateNewFile(path);
  if (file == nullptr) return false;
  bool written = true;
  for (uint32_t done = 0; written && done < size; done += kWritePieceBytes) {
    uint32_t piece = size - done < kWritePieceBytes ? size - done : kWritePieceBytes;
    written = fs.WriteBytes(file, data + done, piece);
  }
  bool closed = fs.CloseFile(file);
  if (written && closed) return true;
  fs.RemoveFile(path);
  return false;
}

bool ReplaceFileContents(FileSystem& fs, const char* path, const char* beside_name,
                         const uint8_t* data, uint32_t size) {
  // One block for the file that is replaced and the new one beside it.
  const uint32_t path_bytes = fs.MaxPathBytes();
  char* target = static_cast<char*>(fs.AllocateBlock(2 * path_bytes));
  if (target == nullptr) return false;
  char* beside = target + path_bytes;
  bool replaced = fs.FollowLinks(path, target, path_bytes) &&
                  PathBeside(target, beside_name, beside, path_bytes) &&
                  WriteNewFile(fs, beside, data, size);
  if (replaced) {
    ReplaceOutcome outcome = fs.ReplaceFile(beside, target);
    // While no file stands at the target, the new one may be the only copy.
    if (outcome == ReplaceOutcome::kUnchanged) fs.RemoveFile(beside);
    replaced = outcome == ReplaceOutcome::kReplaced;
  }
  fs.FreeBlock(target);
  return replaced;
}
