#include "tools/aerilon-course/course_document.h"

#include <cstring>

#include "rally/course/course_format.h"
#include "rally/course/scramble.h"

bool IsCourseFile(std::vector<uint8_t> bytes) {
  UnscrambleWords(bytes.data(), static_cast<uint32_t>(bytes.size()));
  return bytes.size() >= course::kMagicBytes &&
         std::memcmp(bytes.data(), course::kMagic, course::kMagicBytes) == 0;
}

std::string LegRecordKind(const course_model::LegRecord& record) {
  static const char* const kKinds[] = {"message",     "gate",      "waypoint",    "landing",
                                       "track_start", "track_end", "collectible", "quiz_timer"};
  static_assert(sizeof kKinds / sizeof kKinds[0] == std::variant_size_v<course_model::LegRecord>);
  return kKinds[record.index()];
}
