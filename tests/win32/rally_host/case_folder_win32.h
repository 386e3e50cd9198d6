#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "examples/compiled_sample_course.h"

// The relative paths RALLY.DLL opens, from the simulator's folder.
constexpr char kCoursePath[] = "ADV\\RALLY\\Rally.DAT";
constexpr char kScorePath[] = "ADV\\RALLY\\Rally.SCO";

// A fresh simulator folder for one case, holding an empty ADV\RALLY, made
// the current folder so that the DLL's relative paths land in it. On
// destruction the previous current folder returns and the case folder is
// removed. Throws std::runtime_error when the folder cannot be made.
class CaseFolder {
 public:
  explicit CaseFolder(const std::string& case_name);
  ~CaseFolder();
  CaseFolder(const CaseFolder&) = delete;
  CaseFolder& operator=(const CaseFolder&) = delete;

  // Writes a file below the folder; throws when it cannot.
  void Write(const char* relative_path, const std::vector<uint8_t>& bytes) const;

 private:
  std::string path_;
  std::string previous_;
};

// The sample course, as its course file holds it: SampleCourseFile() of
// rally/course/compiled_sample_course.h.
// The sample course with one letter of its magic changed and nothing else.
std::vector<uint8_t> CourseFileWithWrongMagic();
// A score file: the default score block (all zero) scrambled, then the names,
// each NUL-terminated.
std::vector<uint8_t> ScoreFileWithNames(const std::vector<std::string>& names);
// The same with some words of the score block set first.
struct ScoreWord {
  uint32_t index;
  int32_t value;
};
std::vector<uint8_t> ScoreFileWith(const std::vector<ScoreWord>& words,
                                   const std::vector<std::string>& names);
