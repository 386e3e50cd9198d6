#include "rally/module/course_loader.h"

#include "rally/course/course_check.h"
#include "rally/course/score_path.h"
#include "rally/course/scramble.h"
#include "rally/state/module.h"

namespace {

// Reads the whole file into a fresh block; null when any step fails.
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
  // A short read leaves the tail of the block as it was allocated; the check
  // below then judges the image as read.
  uint32_t got = p.read(p.context, file, block, static_cast<uint32_t>(length));
  for (uint32_t i = got; i < static_cast<uint32_t>(length); ++i) block[i] = 0;
  p.close(p.context, file);
  *size = static_cast<uint32_t>(length);
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
