#include "tools/aerilon-course/course_document.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "rally/course/course_format.h"
#include "rally/course/course_reader.h"
#include "rally/course/scramble.h"
#include "tools/aerilon-course/source_reader.h"

namespace {

bool IsCourseFile(std::vector<uint8_t> bytes) {
  UnscrambleWords(bytes.data(), static_cast<uint32_t>(bytes.size()));
  return bytes.size() >= course::kMagicBytes &&
         std::memcmp(bytes.data(), course::kMagic, course::kMagicBytes) == 0;
}

Diagnostic FileError(const std::string& path, const std::string& message) {
  return Diagnostic{Severity::kError, path, 0, 0, message};
}

}  // namespace

std::string LegRecordKind(const course_source::LegRecord& record) {
  static const char* const kKinds[] = {"message",     "gate",      "waypoint",    "landing",
                                       "track_start", "track_end", "collectible", "quiz_timer"};
  static_assert(sizeof kKinds / sizeof kKinds[0] == std::variant_size_v<course_source::LegRecord>);
  return kKinds[record.index()];
}

bool LoadCourseDocument(const std::string& path, CourseDocument* document,
                        std::vector<Diagnostic>* diagnostics) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    diagnostics->push_back(
        FileError(path, std::string("cannot be opened: ") + std::strerror(errno)));
    return false;
  }
  std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) {
    diagnostics->push_back(FileError(path, "cannot be read"));
    return false;
  }
  *document = CourseDocument{};
  document->file = path;
  if (!IsCourseFile(bytes)) {
    return ReadCourseSource(std::string(bytes.begin(), bytes.end()), path, document, diagnostics);
  }
  const char* problem = nullptr;
  if (!ReadCourseFileBytes(bytes, &document->course, &problem)) {
    diagnostics->push_back(
        FileError(path, std::string("the module refuses this course file: ") + problem));
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
