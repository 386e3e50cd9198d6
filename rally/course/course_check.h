#pragma once

#include <cstdint>

// Checks an unscrambled course image once, at load, so that every later
// reader can trust it: nothing it points at lies outside the block, every
// leg ends inside it, and the counts fit the score table.
enum class CourseProblem {
  kNone,
  kBadMagic,           // the block does not start with "VESK RALLY" and a NUL
  kShortHeader,        // fewer than 128 bytes
  kUnterminatedTitle,  // a title has no NUL inside its 48 bytes
  kBadCount,           // a negative entry, leg or question count
  kTooManyLegs,        // more than 20 legs
  kTooManyQuestions,   // more than 40 quiz questions
  kEntryTableOutside,  // the entry table runs past the block
  kEntryOutside,       // an entry's record runs past the block
  kLegIndexTooHigh,    // a start gate at entry index 20 or above has no score record
  kUnknownRecordType,  // a type outside 1 to 11 inside a leg
  kMisplacedRecord,    // a StartGate or BonusObject inside a leg
  kRecordOutside,      // a leg record runs past the block
  kNoLegEnd,           // the leg reaches the end of the block before its LegEnd
  kTextOutside,        // a text or voice offset points outside the block
  kUnterminatedText,   // a text has no NUL before the end of the block
  kSlotOutOfRange,     // a bonus object's take-counter slot outside 0 to 19
  kQuizTableOutside,   // the quiz table runs past the block
};

struct CourseCheck {
  CourseProblem problem;
  uint32_t offset;  // where in the image the problem was found
  int32_t entry;    // entry table index concerned, or -1
};

CourseCheck CheckCourseImage(const uint8_t* image, uint32_t size);
bool HasCourseMagic(const uint8_t* image, uint32_t size);
const char* DescribeCourseProblem(CourseProblem problem);
