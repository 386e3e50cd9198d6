#include "rally/course/compiled_sample_course.h"

#include <cstdlib>

#include "rally/course/course_reader.h"

std::vector<uint8_t> SampleCourseFile() {
  return std::vector<uint8_t>(kSampleCourseFile, kSampleCourseFile + kSampleCourseFile_SIZE);
}

course_source::Course SampleCourse() {
  course_source::Course course;
  const char* problem = nullptr;
  // The build compiled it; a refusal here means the build is broken.
  if (!ReadCourseFileBytes(SampleCourseFile(), &course, &problem)) std::abort();
  return course;
}
