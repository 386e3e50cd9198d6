#include "sceneward/files/file_system_posix.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "sceneward/files/file_pattern.h"
#include "sceneward/files/whole_file_read.h"

namespace {

static_assert(PATH_MAX <= kLongestPathBytes, "the host takes paths longer than any buffer here");

// A path with its "\" separators turned into "/"; empty when it is longer
// than the system takes.
struct HostPath {
  char text[PATH_MAX];
  explicit HostPath(const char* path) {
    size_t length = std::strlen(path);
    if (length >= sizeof text) length = 0;
    for (size_t i = 0; i < length; ++i) text[i] = path[i] == '\\' ? '/' : path[i];
    text[length] = '\0';
  }
  bool empty() const { return text[0] == '\0'; }
};

FileHandle HandleOf(int descriptor) {
  return reinterpret_cast<FileHandle>(static_cast<intptr_t>(descriptor) + 1);
}

int DescriptorOf(FileHandle file) {
  return static_cast<int>(reinterpret_cast<intptr_t>(file) - 1);
}

// The steps of reading a whole file, on the descriptor in the context.
bool OpenForRead(void* context, const char* path, OpenMode mode) {
  HostPath host(path);
  if (host.empty()) return false;
  int* descriptor = static_cast<int*>(context);
  *descriptor = open(host.text, mode == OpenMode::kReadWrite ? O_RDWR : O_RDONLY);
  return *descriptor >= 0;
}

bool LengthOfRegularFile(void* context, uint64_t* length) {
  struct stat info;
  if (fstat(*static_cast<int*>(context), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  *length = static_cast<uint64_t>(info.st_size);
  return true;
}

int64_t ReadSome(void* context, uint8_t* bytes, uint32_t count) {
  for (;;) {
    ssize_t got = read(*static_cast<int*>(context), bytes, count);
    if (got >= 0) return got;
    if (errno != EINTR) return -1;
  }
}

void CloseRead(void* context) {
  close(*static_cast<int*>(context));
}

// A file of the folder to list: a regular file, or a symbolic link to one or
// to nothing; the latter is listed so that it is told, not passed over.
// Folders, pipes and devices are left out.
bool IsListedFile(const char* name) {
  struct stat info;
  if (stat(name, &info) == 0) return S_ISREG(info.st_mode);
  return lstat(name, &info) == 0 && S_ISLNK(info.st_mode);
}

// The matching names of the current folder, NUL-separated in one block, taken
// before any is visited: a visitor that renames files in the folder then
// neither meets a renamed file again nor misses one.
char* MatchingNames(const char* pattern, size_t* total) {
  DIR* folder = opendir(".");
  if (folder == nullptr) return nullptr;
  char* names = static_cast<char*>(std::malloc(1));
  size_t used = 0;
  for (dirent* entry = readdir(folder); names != nullptr && entry != nullptr;
       entry = readdir(folder)) {
    if (!MatchFilePattern(pattern, entry->d_name) || !IsListedFile(entry->d_name)) continue;
    size_t length = std::strlen(entry->d_name) + 1;
    char* grown = static_cast<char*>(std::realloc(names, used + length));
    if (grown == nullptr) std::free(names);
    names = grown;
    if (names != nullptr) std::memcpy(names + used, entry->d_name, length);
    used += length;
  }
  closedir(folder);
  *total = used;
  return names;
}

}  // namespace

void* PosixFileSystem::AllocateBlock(uint32_t size) {
  return std::malloc(size == 0 ? 1 : size);
}

void PosixFileSystem::FreeBlock(void* block) {
  std::free(block);
}

uint32_t PosixFileSystem::MaxPathBytes() {
  return PATH_MAX;
}

ReadOutcome PosixFileSystem::ReadWholeFile(const char* path, OpenMode mode, uint32_t extra,
                                           FileBlock* out) {
  int descriptor = -1;
  FileReadSteps steps{&descriptor, OpenForRead, LengthOfRegularFile, ReadSome, CloseRead};
  return ReadWholeFileBySteps(*this, steps, path, mode, extra, out);
}

FileHandle PosixFileSystem::CreateNewFile(const char* path) {
  HostPath host(path);
  if (host.empty()) return nullptr;
  int descriptor = open(host.text, O_WRONLY | O_CREAT | O_TRUNC, 0666);
  return descriptor < 0 ? nullptr : HandleOf(descriptor);
}

bool PosixFileSystem::WriteBytes(FileHandle file, const void* data, uint32_t count) {
  const uint8_t* bytes = static_cast<const uint8_t*>(data);
  uint32_t done = 0;
  while (done < count) {
    ssize_t put = write(DescriptorOf(file), bytes + done, count - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<uint32_t>(put);
  }
  return true;
}

bool PosixFileSystem::CloseFile(FileHandle file) {
  // The data must be on the disk before the file takes another's place.
  bool synced = fsync(DescriptorOf(file)) == 0;
  bool closed = close(DescriptorOf(file)) == 0;
  return synced && closed;
}

bool PosixFileSystem::FollowLinks(const char* path, char* out, uint32_t size) {
  HostPath host(path);
  if (host.empty()) return false;
  struct stat info;
  // A path that is no link (or names nothing yet) is the file itself.
  if (lstat(host.text, &info) != 0 || !S_ISLNK(info.st_mode)) return CopyPath(path, out, size);
  // realpath follows the whole chain, reading each relative target from the
  // folder of its link, and fails for a link to nothing or a circle.
  char* followed = realpath(host.text, nullptr);
  if (followed == nullptr) return false;
  bool fits = CopyPath(followed, out, size);
  std::free(followed);
  return fits;
}

// rename replaces in one step: the target is the old file or the new one.
ReplaceOutcome PosixFileSystem::ReplaceFile(const char* replacement, const char* target) {
  HostPath from(replacement);
  HostPath to(target);
  if (from.empty() || to.empty()) return ReplaceOutcome::kUnchanged;
  // The new file keeps the permissions of the one it replaces.
  struct stat info;
  if (stat(to.text, &info) == 0) chmod(from.text, info.st_mode & 07777);
  return rename(from.text, to.text) == 0 ? ReplaceOutcome::kReplaced : ReplaceOutcome::kUnchanged;
}

bool PosixFileSystem::RemoveFile(const char* path) {
  HostPath host(path);
  return !host.empty() && unlink(host.text) == 0;
}

bool PosixFileSystem::RenameFile(const char* from, const char* to) {
  HostPath old_name(from);
  HostPath new_name(to);
  return !old_name.empty() && !new_name.empty() && rename(old_name.text, new_name.text) == 0;
}

bool PosixFileSystem::HasDriveLetters() {
  return false;
}

bool PosixFileSystem::ChangeFolder(const char* path) {
  HostPath host(path);
  return !host.empty() && chdir(host.text) == 0;
}

bool PosixFileSystem::CurrentFolder(char* out, uint32_t size) {
  return size > 0 && getcwd(out, size) != nullptr;
}

bool PosixFileSystem::ListFolder(const char* pattern,
                                 bool (*visit)(void* context, const char* name), void* context) {
  size_t total = 0;
  char* names = MatchingNames(pattern, &total);
  if (names == nullptr) return false;
  for (size_t at = 0; at < total; at += std::strlen(names + at) + 1) {
    if (!visit(context, names + at)) break;
  }
  std::free(names);
  return true;
}
