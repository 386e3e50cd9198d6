#pragma once

#include <cstdint>

// The unscrambled course in one heap block, kept from start-up to shutdown
// and never changed once loaded. Every course text, voice name and record
// is reached through a pointer into it; a text or voice reference that is
// null or equal to the start of the block (a stored offset of 0) is "none".
struct CourseImage {
  uint8_t* block;  // null: no course
  uint32_t size;
  char path[32] = "ADV\\RALLY\\Rally.DAT";  // becomes the score file's path once loaded
};

bool HasCourse(const CourseImage& c);
const uint8_t* CourseStart(const CourseImage& c);
bool IsNoneReference(const CourseImage& c, const void* reference);

const char* CourseFirstTitle(const CourseImage& c);
const char* CourseSecondTitle(const CourseImage& c);
int32_t CourseEntryCount(const CourseImage& c);
int32_t CourseLegCount(const CourseImage& c);
int32_t CourseQuestionCount(const CourseImage& c);

// Entry i of the EntryTable: the StartGate of leg i+1 or a BonusObject.
const uint8_t* CourseEntry(const CourseImage& c, int32_t index);
const uint8_t* CourseQuizTable(const CourseImage& c);
const uint8_t* CourseQuestion(const CourseImage& c, int32_t index);

// Image start + the offset stored in a record's field; an offset of 0 gives
// the image start, which consumers treat as none.
const uint8_t* CourseAddress(const CourseImage& c, int32_t offset);
const char* CourseTextField(const CourseImage& c, const uint8_t* record, uint32_t field);
int32_t RecordType(const uint8_t* record);
int32_t RecordField(const uint8_t* record, uint32_t field);
