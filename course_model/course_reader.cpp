#include "course_model/course_reader.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "common/little_endian.h"
#include "rally/course/course_check.h"
#include "rally/course/course_format.h"
#include "rally/course/scramble.h"

using namespace course;
using namespace course_model;

namespace {

struct ImageReader {
  const uint8_t* image;
  uint32_t size;

  int32_t Int(uint32_t at) const { return load_i32le(image + at); }

  // The checked image guarantees a NUL before the end of the block.
  course_model::Text TextAt(uint32_t field) const {
    int32_t offset = Int(field);
    if (offset == 0) return {};
    const char* text = reinterpret_cast<const char*>(image + offset);
    if (*text == '\0') return course_model::Text::Empty();
    return std::string(text);
  }

  std::string Title(uint32_t at) const {
    const char* title = reinterpret_cast<const char*>(image + at);
    return std::string(title, strnlen(title, kTitleBytes));
  }

  Box BoxAt(uint32_t at) const { return Box{Int(at), Int(at + 4), Int(at + 8), Int(at + 12)}; }

  StartGate StartAt(uint32_t at) const {
    using namespace start_gate;
    return StartGate{BoxAt(at + kLatMin), Int(at + kAltCentre), Int(at + kAltBand),
                     Int(at + kSpeedMin), Int(at + kSpeedMax),  Int(at + kHeading)};
  }

  LegRecord RecordAt(uint32_t at, int32_t type) const {
    switch (type) {
      case kMessageRecord:
        return Message{Int(at + message_record::kSeconds), TextAt(at + message_record::kText),
                       TextAt(at + message_record::kVoice)};
      case kGate:
        return Gate{BoxAt(at + gate::kLatMin),       Int(at + gate::kAltCentre),
                    Int(at + gate::kAltBand),        Int(at + gate::kSpeedMin),
                    Int(at + gate::kSpeedMax),       Int(at + gate::kHeading),
                    TextAt(at + gate::kWarningText), TextAt(at + gate::kWarningVoice)};
      case kWaypoint:
        return Waypoint{Int(at + waypoint::kLat),
                        Int(at + waypoint::kLon),
                        Int(at + waypoint::kRadius),
                        Int(at + waypoint::kAlt),
                        Int(at + waypoint::kAltBand),
                        Int(at + waypoint::kHeading),
                        TextAt(at + waypoint::kWarningText),
                        TextAt(at + waypoint::kWarningVoice)};
      case kLanding:
        return Landing{BoxAt(at + landing::kLatMin), Int(at + landing::kAlt),
                       Int(at + landing::kHeading), TextAt(at + landing::kWarningText),
                       TextAt(at + landing::kWarningVoice)};
      case kTrackStart:
        return TrackStart{Int(at + track_start::kLat),    Int(at + track_start::kLon),
                          Int(at + track_start::kRadial), Int(at + track_start::kTolerance),
                          Int(at + track_start::kWeight), Int(at + track_start::kNearZone)};
      case kTrackEnd: return TrackEnd{};
      case kCollectible:
        return Collectible{Int(at + collectible::kNameSlot), Int(at + collectible::kPoints),
                           TextAt(at + collectible::kName)};
      default: return QuizTimer{Int(at + quiz_timer::kDelay)};
    }
  }

  Leg LegAt(uint32_t at) const {
    Leg leg;
    leg.start = StartAt(at);
    at += RecordSize(kStartGate);
    for (int32_t type = Int(at); type != kLegEnd; type = Int(at)) {
      leg.records.push_back(RecordAt(at, type));
      at += RecordSize(type);
    }
    leg.end = LegEnd{Int(at + leg_end::kBasePoints), Int(at + leg_end::kTimeAllowance),
                     Int(at + leg_end::kTimeFactor)};
    return leg;
  }

  BonusBox BonusBoxAt(uint32_t half, uint32_t conditions) const {
    return BonusBox{Int(half), Int(half + 4), Int(half + 8), Int(conditions)};
  }

  BonusObject BonusAt(uint32_t at) const {
    using namespace bonus_object;
    BonusObject b{};
    b.lat = Int(at + kLat);
    b.lon = Int(at + kLon);
    b.alt = Int(at + kAlt);
    b.outer = BonusBoxAt(at + kOuterHalf, at + kOuterConditions);
    b.middle = BonusBoxAt(at + kMiddleHalf, at + kMiddleConditions);
    b.inner = BonusBoxAt(at + kInnerHalf, at + kInnerConditions);
    b.flags = Int(at + kFlags);
    b.counter_slot = Int(at + kCounterSlot);
    b.max_takes = Int(at + kMaxTakes);
    b.alternative_percent = Int(at + kAlternativePercent);
    b.alternative_value = Int(at + kAlternativeValue);
    b.normal_value = Int(at + kNormalValue);
    return b;
  }

  QuizQuestion QuestionAt(uint32_t at) const {
    using namespace quiz_question;
    return QuizQuestion{TextAt(at + kQuestion), TextAt(at + kCorrectAnswer),
                        TextAt(at + kSecondAnswer), TextAt(at + kThirdAnswer), Int(at + kPoints)};
  }

  Course Read() const {
    Course course;
    course.first_title = Title(kFirstTitle);
    course.second_title = Title(kSecondTitle);
    // Legs and bonus objects are numbered in the order they lie in the
    // image, which is the writer's, so that laying them out again gives
    // the same bytes; the entry table's order is kept beside them.
    int32_t entries = Int(kEntryCount);
    std::vector<std::pair<uint32_t, int32_t>> by_offset;  // (offset, entry)
    for (int32_t i = 0; i < entries; ++i) {
      by_offset.emplace_back(static_cast<uint32_t>(Int(kEntryTable + 4 * static_cast<uint32_t>(i))),
                             i);
    }
    std::sort(by_offset.begin(), by_offset.end());  // pairs differ in their entry
    std::vector<EntrySlot> order(static_cast<size_t>(entries), EntrySlot{EntrySlot::kIgnored, 0});
    for (const auto& [at, entry] : by_offset) {
      int32_t type = Int(at);
      if (type == kStartGate) {
        order[static_cast<size_t>(entry)] = {EntrySlot::kLeg, course.legs.size()};
        course.legs.push_back(LegAt(at));
      } else if (type == kBonusObject) {
        order[static_cast<size_t>(entry)] = {EntrySlot::kBonusObject, course.bonus_objects.size()};
        course.bonus_objects.push_back(BonusAt(at));
      }
    }
    if (order != EntryOrder(course)) course.entry_order = order;
    if (Int(kLegCount) != static_cast<int32_t>(course.legs.size())) {
      course.leg_count = Int(kLegCount);
    }
    uint32_t table = static_cast<uint32_t>(Int(kQuizTableOffset));
    for (int32_t i = 0; i < Int(kQuestionCount); ++i) {
      course.questions.push_back(
          QuestionAt(table + quiz_question::kBytes * static_cast<uint32_t>(i)));
    }
    return course;
  }
};

}  // namespace

Course ReadCourseImage(const uint8_t* image, uint32_t size) {
  return ImageReader{image, size}.Read();
}

bool ReadCourseFileBytes(std::vector<uint8_t> bytes, Course* course, const char** problem) {
  // The module's loader takes no file of length 0 before it looks at a byte.
  if (bytes.empty()) {
    *problem = "the file is empty";
    return false;
  }
  uint32_t size = static_cast<uint32_t>(bytes.size());
  UnscrambleWords(bytes.data(), size);
  CourseCheck check = CheckCourseImage(bytes.data(), size);
  if (check.problem != CourseProblem::kNone) {
    *problem = DescribeCourseProblem(check.problem);
    return false;
  }
  *course = ReadCourseImage(bytes.data(), size);
  return true;
}
