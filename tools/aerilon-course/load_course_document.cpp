#include "tools/aerilon-course/load_course_document.h"

#include <cctype>

#include "course_model/course_reader.h"
#include "tools/aerilon-course/source/source_reader.h"
#include "tools/common/input_file.h"

namespace {

// A file named as the module names its course (Rally.DAT in any case) or
// ending in .DAT is judged as a course file even when its bytes are not
// one: an empty or damaged course file is refused with the module's
// reason instead of being read as a source.
bool NamedAsCourseFile(const std::string& path) {
  std::string name = path.substr(path.find_last_of('/') + 1);
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name.size() > 4 && name.compare(name.size() - 4, 4, ".DAT") == 0;
}

Diagnostic FileError(const std::string& path, const std::string& message) {
  return Diagnostic{Severity::kError, path, 0, 0, message};
}

}  // namespace

bool LoadCourseDocument(const std::string& path, CourseDocument* document,
                        std::vector<Diagnostic>* diagnostics) {
  std::vector<uint8_t> bytes;
  std::string problem;
  if (!ReadInputFile(path, &bytes, &problem)) {
    diagnostics->push_back(FileError(path, problem));
    return false;
  }
  *document = CourseDocument{};
  document->file = path;
  if (!IsCourseFile(bytes) && !NamedAsCourseFile(path)) {
    return ReadCourseSource(std::string(bytes.begin(), bytes.end()), path, document, diagnostics);
  }
  const char* refusal = nullptr;
  if (!ReadCourseFileBytes(bytes, &document->course, &refusal)) {
    diagnostics->push_back(
        FileError(path, std::string("the module refuses this course file: ") + refusal));
    return false;
  }
  document->legs.resize(document->course.legs.size());
  for (size_t i = 0; i < document->legs.size(); ++i) {
    document->legs[i].records.resize(document->course.legs[i].records.size());
  }
  document->bonus_objects.resize(document->course.bonus_objects.size());
  document->questions.resize(document->course.questions.size());
  return true;
}
