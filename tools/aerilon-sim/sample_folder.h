#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

// A fresh simulator folder in the temporary directory (aerilon-sim-XXXXXX)
// holding a course file as ADV/RALLY/Rally.DAT (the sample course, or the
// course a designer flies), for a run without a folder of one's own. It is removed however the run
// ends: when the run is over, on an error, and when the tool is interrupted (SIGINT), terminated
// (SIGTERM), hung up (SIGHUP) or left by its reader (SIGPIPE), after which
// the tool ends as that signal ends it. A signal the tool was started with
// ignored stays ignored.
class SampleFolder {
 public:
  // Throws std::runtime_error when the folder cannot be made.
  explicit SampleFolder(const std::vector<uint8_t>& course_file);
  ~SampleFolder();
  SampleFolder(const SampleFolder&) = delete;
  SampleFolder& operator=(const SampleFolder&) = delete;

  const std::filesystem::path& root() const { return root_; }

 private:
  void Remove();
  std::filesystem::path root_;
};
