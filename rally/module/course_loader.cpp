#include "rally/module/course_loader.h"

#include "rally/course/course_check.h"
#include "rally/course/score_path.h"
#include "rally/course/scramble.h"
#include "rally/host/read_all.h"
#include "rally/state/module.h"

namespace {

// Reads the whole file into a fresh block; null when any step fails. A file
// that cannot be read whole (a failing disk, or a file cut short while it is
// read) is no course: the bytes it lacks would be judged as zeros.
uint8_t* ReadWholeFile(const PlatformOps& p, const char* path, uint32_t* size) {
  FileHandle file = p.open_read(p.context, path);
  if (file == nullptr) return nullptr;
  int64_t length = p.file_length(p.context, file);
  if (length <= 0 || length > 0x7FFFFFFF) {
    p.close(p.context, file);
    return nullptr;
  }
  uint8_t* block = static_cast<uint8_t*>(p.alloc_block(p.context, static_cast<uint32_t>(length)));
  if (block == nullptr) {
    p.close(p.context, file);
    return nullptr;
  }
  uint32_t got = ReadAll(p, file, block, static_cast<uint32_t>(length));
  p.close(p.context, file);
  if (got != static_cast<uint32_t>(length)) {
    p.free_block(p.context, block);
    return nullptr;
  }
  *size = got;
  return block;
}

}  // namespace

bool LoadCourse(RallyModule& m) {
  m.race.state = kOutOfRace;
  uint32_t size = 0;
  uint8_t* block = ReadWholeFile(m.platform, m.course.path, &size);
  if (block == nullptr) return false;
  UnscrambleWords(block, size);
  if (CheckCourseImage(block, size).problem != CourseProblem::kNone) {
    m.platform.free_block(m.platform.context, block);
    return false;
  }
  // The entry table keeps its offsets: CourseEntry resolves each one against
  // the image start, which a 64-bit pointer could not be stored over.
  CourseImage image{block, size};
  if (DeriveScorePath(m.course.path, sizeof m.course.path)) {
    ReadScoreFile(m.scores, m.platform, m.course.path, CourseQuestionCount(image));
  }
  m.course.block = block;
  m.course.size = size;
  return true;
}
