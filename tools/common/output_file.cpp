#include "tools/common/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "tools/common/file_kind.h"

namespace {

using Problem = std::optional<std::string>;

Problem SystemProblem() {
  return std::string("cannot be written: ") + std::strerror(errno);
}

// The file the output names: the path itself, or the end of its chain of
// symbolic links. Into *target; what is wrong otherwise.
Problem FollowLinks(const std::string& path, std::string* target) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
    *target = path;  // no link, or nothing there yet
    return std::nullopt;
  }
  // realpath reads each relative link from its own folder and fails for a
  // link to nothing or a circle of links.
  char* followed = realpath(path.c_str(), nullptr);
  if (followed == nullptr) {
    if (errno == ENOENT) return "cannot be written: it is a symbolic link that leads to no file";
    return SystemProblem();
  }
  *target = followed;
  std::free(followed);
  return std::nullopt;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// What forbids replacing the file at `target`, which exists as `info`.
Problem JudgeExisting(const std::string& target, const struct stat& info,
                      const std::vector<std::string>& inputs) {
  if (!S_ISREG(info.st_mode)) {
    return "cannot be written: it is " + KindOfNonFile(info.st_mode) + ", not a file";
  }
  for (const std::string& input : inputs) {
    struct stat read;
    if (!input.empty() && stat(input.c_str(), &read) == 0 && SameFile(read, info)) {
      return "cannot be written: it is the same file as the input " + input +
             ", which it would replace; choose another output";
    }
  }
  if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
    return std::string("cannot be written: it is read-only (no write permission)");
  }
  if (access(target.c_str(), W_OK) != 0) return SystemProblem();
  return std::nullopt;
}

Problem Judge(const std::string& path, const std::vector<std::string>& inputs,
              std::string* target) {
  if (Problem problem = FollowLinks(path, target)) return problem;
  struct stat info;
  if (stat(target->c_str(), &info) == 0) return JudgeExisting(*target, info, inputs);
  // Missing is fine (it is made); a folder above it that is a file is told
  // when the folders are made.
  if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
  return SystemProblem();
}

Problem MakeFoldersAbove(const std::string& target) {
  std::filesystem::path folder = std::filesystem::path(target).parent_path();
  std::error_code error;
  if (folder.empty() || std::filesystem::create_directories(folder, error) || !error) {
    return std::nullopt;
  }
  return "cannot be written: the folder " + folder.string() + " cannot be made: " + error.message();
}

bool WriteAll(int descriptor, const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t put = write(descriptor, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
}

// The permissions a new file gets: those of the file it replaces, or what
// the user's umask leaves of read and write for all.
mode_t NewFileMode(const std::string& target) {
  struct stat info;
  if (stat(target.c_str(), &info) == 0) return info.st_mode & 07777;
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

Problem WriteBeside(const std::string& target, const std::vector<uint8_t>& bytes) {
  std::string part = target + ".XXXXXX";
  int descriptor = mkstemp(part.data());
  if (descriptor < 0) return SystemProblem();
  bool written = WriteAll(descriptor, bytes) && fchmod(descriptor, NewFileMode(target)) == 0 &&
                 fsync(descriptor) == 0;
  Problem problem = written ? std::nullopt : SystemProblem();
  if (close(descriptor) != 0 && !problem) problem = SystemProblem();
  if (!problem && rename(part.c_str(), target.c_str()) != 0) problem = SystemProblem();
  if (problem) unlink(part.c_str());
  return problem;
}

}  // namespace

Problem CheckOutputFile(const std::string& path, const std::vector<std::string>& inputs) {
  std::string target;
  return Judge(path, inputs, &target);
}

Problem WriteOutputFile(const std::string& path, const std::vector<uint8_t>& bytes,
                        const std::vector<std::string>& inputs) {
  std::string target;
  if (Problem problem = Judge(path, inputs, &target)) return problem;
  if (Problem problem = MakeFoldersAbove(target)) return problem;
  return WriteBeside(target, bytes);
}
