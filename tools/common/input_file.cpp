#include "tools/common/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tools/common/file_kind.h"

namespace {

std::string SystemProblem(const char* what) {
  return std::string(what) + ": " + std::strerror(errno);
}

std::string KindProblem(mode_t mode) {
  return "cannot be read: it is " + KindOfNonFile(mode) + ", not a file";
}

// Reads what `descriptor` holds to its end; false on a read error.
bool ReadToEnd(int descriptor, std::vector<uint8_t>* bytes) {
  uint8_t chunk[65536];
  for (;;) {
    ssize_t got = read(descriptor, chunk, sizeof chunk);
    if (got == 0) return true;
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return false;
    bytes->insert(bytes->end(), chunk, chunk + got);
  }
}

}  // namespace

bool ReadInputFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* problem) {
  bytes->clear();
  struct stat info;
  if (stat(path.c_str(), &info) != 0) {
    *problem = SystemProblem("cannot be opened");
    return false;
  }
  if (!S_ISREG(info.st_mode)) {
    *problem = KindProblem(info.st_mode);
    return false;
  }
  // Opened without blocking, and judged again once open: what the name
  // names may have changed since it was looked at.
  int descriptor = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (descriptor < 0) {
    *problem = SystemProblem("cannot be opened");
    return false;
  }
  bool read_whole = false;
  if (fstat(descriptor, &info) != 0) {
    *problem = SystemProblem("cannot be read");
  } else if (!S_ISREG(info.st_mode)) {
    *problem = KindProblem(info.st_mode);
  } else if (!ReadToEnd(descriptor, bytes)) {
    *problem = SystemProblem("cannot be read");
  } else {
    read_whole = true;
  }
  close(descriptor);
  return read_whole;
}

bool ReadInputText(const std::string& path, std::string* text, std::string* problem) {
  std::vector<uint8_t> bytes;
  if (!ReadInputFile(path, &bytes, problem)) return false;
  text->assign(bytes.begin(), bytes.end());
  return true;
}
