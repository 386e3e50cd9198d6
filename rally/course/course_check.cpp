#include "rally/course/course_check.h"

#include <cstring>

#include "common/little_endian.h"
#include "rally/course/course_format.h"

using namespace course;

namespace {

struct Checker {
  const uint8_t* image;
  uint32_t size;
  int32_t entry;
  CourseCheck result;

  bool Fail(CourseProblem problem, uint64_t offset) {
    result = CourseCheck{problem, static_cast<uint32_t>(offset), entry};
    return false;
  }

  // [offset, offset + length) lies inside the block.
  bool Inside(int64_t offset, uint64_t length) const {
    return offset >= 0 && static_cast<uint64_t>(offset) + length <= size;
  }

  int32_t Int(uint64_t offset) const { return load_i32le(image + offset); }

  bool Text(uint64_t field) {
    int32_t offset = Int(field);
    if (offset == 0) return true;
    if (!Inside(offset, 1)) return Fail(CourseProblem::kTextOutside, field);
    if (std::memchr(image + offset, 0, size - static_cast<uint32_t>(offset)) == nullptr) {
      return Fail(CourseProblem::kUnterminatedText, field);
    }
    return true;
  }

  bool Slot(uint64_t field) {
    int32_t slot = Int(field);
    if (slot < 0 || slot >= kScoreSlots) return Fail(CourseProblem::kSlotOutOfRange, field);
    return true;
  }

  bool Title(uint32_t at) {
    if (std::memchr(image + at, 0, kTitleBytes) == nullptr) {
      return Fail(CourseProblem::kUnterminatedTitle, at);
    }
    return true;
  }

  // The texts and slots a leg record refers to.
  bool RecordReferences(uint64_t at, int32_t type) {
    switch (type) {
      case kMessageRecord:
        return Text(at + message_record::kText) && Text(at + message_record::kVoice);
      case kGate: return Text(at + gate::kWarningText) && Text(at + gate::kWarningVoice);
      case kWaypoint:
        return Text(at + waypoint::kWarningText) && Text(at + waypoint::kWarningVoice);
      case kLanding: return Text(at + landing::kWarningText) && Text(at + landing::kWarningVoice);
      // A collectible's name slot is not checked: one outside the twenty
      // name slots still scores, only its name is not remembered.
      case kCollectible: return Text(at + collectible::kName);
      default: return true;
    }
  }

  bool LegStream(uint64_t at) {
    for (;;) {
      if (!Inside(static_cast<int64_t>(at), 4)) return Fail(CourseProblem::kNoLegEnd, at);
      int32_t type = Int(at);
      if (type == kStartGate || type == kBonusObject) {
        return Fail(CourseProblem::kMisplacedRecord, at);
      }
      uint32_t length = RecordSize(type);
      if (length == 0) return Fail(CourseProblem::kUnknownRecordType, at);
      if (!Inside(static_cast<int64_t>(at), length)) {
        return Fail(CourseProblem::kRecordOutside, at);
      }
      if (!RecordReferences(at, type)) return false;
      if (type == kLegEnd) return true;
      at += length;
    }
  }

  bool Entry(int32_t index) {
    entry = index;
    uint64_t cell = kEntryTable + 4ull * static_cast<uint32_t>(index);
    int32_t offset = Int(cell);
    if (!Inside(offset, 4)) return Fail(CourseProblem::kEntryOutside, cell);
    int32_t type = Int(static_cast<uint32_t>(offset));
    if (type != kStartGate && type != kBonusObject) return true;  // the entry scan ignores it
    if (!Inside(offset, RecordSize(type))) return Fail(CourseProblem::kEntryOutside, offset);
    if (type == kBonusObject)
      return Slot(static_cast<uint32_t>(offset) + bonus_object::kCounterSlot);
    if (index >= kMaxLegs) return Fail(CourseProblem::kLegIndexTooHigh, cell);
    return LegStream(static_cast<uint32_t>(offset) + RecordSize(kStartGate));
  }

  bool QuizTable(int32_t count) {
    int32_t table = Int(kQuizTableOffset);
    if (count == 0) return true;
    if (!Inside(table, static_cast<uint64_t>(count) * quiz_question::kBytes)) {
      return Fail(CourseProblem::kQuizTableOutside, kQuizTableOffset);
    }
    for (int32_t i = 0; i < count; ++i) {
      uint64_t q = static_cast<uint32_t>(table) + static_cast<uint64_t>(i) * quiz_question::kBytes;
      if (!Text(q + quiz_question::kQuestion) || !Text(q + quiz_question::kCorrectAnswer) ||
          !Text(q + quiz_question::kSecondAnswer) || !Text(q + quiz_question::kThirdAnswer)) {
        return false;
      }
    }
    return true;
  }

  bool Run() {
    if (!HasCourseMagic(image, size)) return Fail(CourseProblem::kBadMagic, 0);
    if (size < kHeaderBytes) return Fail(CourseProblem::kShortHeader, size);
    if (!Title(kFirstTitle) || !Title(kSecondTitle)) return false;
    int32_t entries = Int(kEntryCount);
    int32_t legs = Int(kLegCount);
    int32_t questions = Int(kQuestionCount);
    if (entries < 0) return Fail(CourseProblem::kBadCount, kEntryCount);
    if (legs < 0) return Fail(CourseProblem::kBadCount, kLegCount);
    if (questions < 0) return Fail(CourseProblem::kBadCount, kQuestionCount);
    if (legs > kMaxLegs) return Fail(CourseProblem::kTooManyLegs, kLegCount);
    if (questions > kMaxQuestions) return Fail(CourseProblem::kTooManyQuestions, kQuestionCount);
    if (!Inside(kEntryTable, 4ull * static_cast<uint32_t>(entries))) {
      return Fail(CourseProblem::kEntryTableOutside, kEntryCount);
    }
    for (int32_t i = 0; i < entries; ++i) {
      if (!Entry(i)) return false;
    }
    entry = -1;
    return QuizTable(questions);
  }
};

}  // namespace

bool HasCourseMagic(const uint8_t* image, uint32_t size) {
  return size >= kMagicBytes && std::memcmp(image, kMagic, kMagicBytes) == 0;
}

CourseCheck CheckCourseImage(const uint8_t* image, uint32_t size) {
  Checker checker{image, size, -1, CourseCheck{CourseProblem::kNone, 0, -1}};
  checker.Run();
  return checker.result;
}

const char* DescribeCourseProblem(CourseProblem problem) {
  switch (problem) {
    case CourseProblem::kNone: return "no problem";
    case CourseProblem::kBadMagic: return "the file does not start with \"VESK RALLY\" and a NUL";
    case CourseProblem::kShortHeader: return "the file is shorter than its 128-byte header";
    case CourseProblem::kUnterminatedTitle: return "a title has no NUL within its 48 bytes";
    case CourseProblem::kBadCount: return "a count in the header is negative";
    case CourseProblem::kTooManyLegs: return "more than 20 legs";
    case CourseProblem::kTooManyQuestions: return "more than 40 quiz questions";
    case CourseProblem::kEntryTableOutside: return "the entry table runs past the end of the file";
    case CourseProblem::kEntryOutside: return "an entry's record lies outside the file";
    case CourseProblem::kLegIndexTooHigh:
      return "a start gate sits at entry index 20 or above, which has no score record";
    case CourseProblem::kUnknownRecordType: return "a leg holds a record of unknown type";
    case CourseProblem::kMisplacedRecord: return "a leg holds a StartGate or BonusObject record";
    case CourseProblem::kRecordOutside: return "a leg record runs past the end of the file";
    case CourseProblem::kNoLegEnd: return "a leg reaches the end of the file without a LegEnd";
    case CourseProblem::kTextOutside: return "a text or voice offset points outside the file";
    case CourseProblem::kUnterminatedText: return "a text has no NUL before the end of the file";
    case CourseProblem::kSlotOutOfRange:
      return "a bonus object's take-counter slot lies outside 0 to 19";
    case CourseProblem::kQuizTableOutside: return "the quiz table runs past the end of the file";
  }
  return "unknown problem";
}
