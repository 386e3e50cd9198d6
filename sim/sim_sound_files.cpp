#include "sim/sim_sound_files.h"

#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool SameLetters(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::vector<std::string> PathParts(const std::string& name) {
  std::vector<std::string> parts(1);
  for (char c : name) {
    if (c == '\\' || c == '/') {
      if (!parts.back().empty()) parts.emplace_back();
    } else {
      parts.back() += c;
    }
  }
  if (parts.back().empty()) parts.pop_back();
  return parts;
}

// The entry of `folder` whose name matches `part` in any case, if any.
bool FindEntry(const fs::path& folder, const std::string& part, fs::path& found) {
  std::error_code error;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
    if (SameLetters(entry.path().filename().string(), part)) {
      found = entry.path();
      return true;
    }
  }
  return false;
}

}  // namespace

bool SimSoundFileExists(const std::string& root, const std::string& prompt_name) {
  std::vector<std::string> parts = PathParts(prompt_name + ".wav");
  if (parts.empty()) return false;
  fs::path at = root.empty() ? fs::path(".") : fs::path(root);
  for (const std::string& part : parts) {
    if (part == "." || part == "..") return false;  // a prompt never leaves the folder
    if (!FindEntry(at, part, at)) return false;
  }
  std::error_code error;
  return fs::is_regular_file(at, error);
}
