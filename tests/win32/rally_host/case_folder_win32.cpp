#include "tests/win32/rally_host/case_folder_win32.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "common/little_endian.h"
#include "course_model/course.h"
#include "examples/compiled_sample_course.h"
#include "rally/course/course_check.h"
#include "rally/course/score_table.h"
#include "rally/course/scramble.h"

namespace fs = std::filesystem;

namespace {

std::string CurrentFolder() {
  char path[MAX_PATH];
  DWORD n = GetCurrentDirectoryA(sizeof path, path);
  if (n == 0 || n >= sizeof path) throw std::runtime_error("GetCurrentDirectoryA failed");
  return path;
}

// One folder per process, so that runs side by side never share files.
std::string RunFolder() {
  char temp[MAX_PATH];
  DWORD n = GetTempPathA(sizeof temp, temp);
  if (n == 0 || n >= sizeof temp) throw std::runtime_error("GetTempPathA failed");
  return std::string(temp) + "aerilon-rally-dll-" + std::to_string(GetCurrentProcessId());
}

}  // namespace

CaseFolder::CaseFolder(const std::string& case_name)
    : path_(RunFolder() + "\\" + case_name), previous_(CurrentFolder()) {
  std::error_code stale;
  fs::remove_all(path_, stale);  // whatever an earlier run left there
  std::error_code error;
  fs::create_directories(path_ + "\\ADV\\RALLY", error);
  if (error) throw std::runtime_error("cannot create " + path_ + ": " + error.message());
  if (!SetCurrentDirectoryA(path_.c_str())) {
    throw std::runtime_error("SetCurrentDirectoryA(" + path_ + ") failed, error " +
                             std::to_string(GetLastError()));
  }
}

CaseFolder::~CaseFolder() {
  SetCurrentDirectoryA(previous_.c_str());
  std::error_code error;
  fs::remove_all(path_, error);
  if (error)
    std::fprintf(stderr, "note: could not remove %s: %s\n", path_.c_str(), error.message().c_str());
  fs::remove(RunFolder(), error);  // only once it is empty
}

void CaseFolder::Write(const char* relative_path, const std::vector<uint8_t>& bytes) const {
  std::string path = path_ + "\\" + relative_path;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::vector<uint8_t> CourseFileWithWrongMagic() {
  std::vector<uint8_t> bytes = SampleCourseFile();
  uint32_t size = static_cast<uint32_t>(bytes.size());
  UnscrambleWords(bytes.data(), size);
  bytes[0] = 'W';  // "WESK RALLY"
  // Only the magic may be wrong, or the case would test some other check.
  if (CheckCourseImage(bytes.data(), size).problem != CourseProblem::kBadMagic) {
    throw std::runtime_error("the altered sample course fails for another reason than its magic");
  }
  ScrambleWords(bytes.data(), size);
  return bytes;
}

std::vector<uint8_t> ScoreFileWithNames(const std::vector<std::string>& names) {
  return ScoreFileWith({}, names);
}

std::vector<uint8_t> ScoreFileWith(const std::vector<ScoreWord>& words,
                                   const std::vector<std::string>& names) {
  std::vector<uint8_t> bytes(score::kBlockBytes, 0);
  for (const ScoreWord& w : words) {
    if (w.index >= score::kBlockWords) throw std::runtime_error("no such score word");
    store_i32le(bytes.data() + 4 * w.index, w.value);
  }
  ScrambleWords(bytes.data(), score::kBlockBytes);
  for (const std::string& name : names) {
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.push_back('\0');
  }
  return bytes;
}
