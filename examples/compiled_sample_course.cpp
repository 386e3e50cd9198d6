#include "examples/compiled_sample_course.h"

#include <cstdlib>

#include "course_model/course_reader.h"

std::vector<uint8_t> SampleCourseFile() {
  return std::vector<uint8_t>(kSampleCourseFile, kSampleCourseFile + kSampleCourseFile_SIZE);
}

course_model::Course SampleCourse() {
  course_model::Course course;
  const char* problem = nullptr;
  // The build compiled it; a refusal here means the build is broken.
  if (!ReadCourseFileBytes(SampleCourseFile(), &course, &problem)) std::abort();
  return course;
}
