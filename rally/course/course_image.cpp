#include "rally/course/course_image.h"

#include "common/little_endian.h"
#include "rally/course/course_format.h"

// The loader has checked every offset against the block, so the readers
// below trust what they find.

bool HasCourse(const CourseImage& c) {
  return c.block != nullptr;
}

const uint8_t* CourseStart(const CourseImage& c) {
  return c.block;
}

bool IsNoneReference(const CourseImage& c, const void* reference) {
  return reference == nullptr || (c.block != nullptr && reference == c.block);
}

const char* CourseFirstTitle(const CourseImage& c) {
  return reinterpret_cast<const char*>(c.block + course::kFirstTitle);
}

const char* CourseSecondTitle(const CourseImage& c) {
  return reinterpret_cast<const char*>(c.block + course::kSecondTitle);
}

int32_t CourseEntryCount(const CourseImage& c) {
  return load_i32le(c.block + course::kEntryCount);
}
int32_t CourseLegCount(const CourseImage& c) {
  return load_i32le(c.block + course::kLegCount);
}
int32_t CourseQuestionCount(const CourseImage& c) {
  return load_i32le(c.block + course::kQuestionCount);
}

const uint8_t* CourseEntry(const CourseImage& c, int32_t index) {
  return CourseAddress(c, load_i32le(c.block + course::kEntryTable + 4u * index));
}

const uint8_t* CourseQuizTable(const CourseImage& c) {
  return CourseAddress(c, load_i32le(c.block + course::kQuizTableOffset));
}

const uint8_t* CourseQuestion(const CourseImage& c, int32_t index) {
  return CourseQuizTable(c) + course::quiz_question::kBytes * index;
}

const uint8_t* CourseAddress(const CourseImage& c, int32_t offset) {
  return c.block + static_cast<uint32_t>(offset);
}

const char* CourseTextField(const CourseImage& c, const uint8_t* record, uint32_t field) {
  return reinterpret_cast<const char*>(CourseAddress(c, load_i32le(record + field)));
}

int32_t RecordType(const uint8_t* record) {
  return load_i32le(record);
}
int32_t RecordField(const uint8_t* record, uint32_t field) {
  return load_i32le(record + field);
}
