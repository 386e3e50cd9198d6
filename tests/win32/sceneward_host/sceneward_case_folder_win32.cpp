#include "tests/win32/sceneward_host/sceneward_case_folder_win32.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

// One folder per process, so that runs side by side never share files.
std::string RunFolder() {
  char temp[MAX_PATH];
  DWORD n = GetTempPathA(sizeof temp, temp);
  if (n == 0 || n >= sizeof temp) throw std::runtime_error("GetTempPathA failed");
  return std::string(temp) + "aerilon-sceneward-dll-" + std::to_string(GetCurrentProcessId());
}

}  // namespace

SceneCaseFolder::SceneCaseFolder(const std::string& case_name)
    : path_(RunFolder() + "\\" + case_name) {
  std::error_code stale;
  fs::remove_all(path_, stale);  // whatever an earlier case left there
  std::error_code error;
  fs::create_directories(path_, error);
  if (error) throw std::runtime_error("cannot create " + path_ + ": " + error.message());
}

SceneCaseFolder::~SceneCaseFolder() {
  std::error_code error;
  fs::remove_all(path_, error);
  if (error)
    std::fprintf(stderr, "note: could not remove %s: %s\n", path_.c_str(), error.message().c_str());
  fs::remove(RunFolder(), error);  // only once it is empty
}

std::string SceneCaseFolder::Path(const std::string& relative) const {
  return path_ + "\\" + relative;
}

void SceneCaseFolder::MakeFolder(const std::string& relative) const {
  if (!CreateDirectoryA(Path(relative).c_str(), nullptr)) {
    throw std::runtime_error("cannot create " + Path(relative));
  }
}

void SceneCaseFolder::Write(const std::string& relative, const std::vector<uint8_t>& bytes) const {
  std::ofstream out(Path(relative), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + Path(relative));
}

void SceneCaseFolder::WriteText(const std::string& relative, const std::string& text) const {
  Write(relative, std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<uint8_t> SceneCaseFolder::Read(const std::string& relative) const {
  std::ifstream in(Path(relative), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + Path(relative));
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> SceneCaseFolder::FileNames(const std::string& relative) const {
  std::string pattern = (relative.empty() ? path_ : Path(relative)) + "\\*";
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}
