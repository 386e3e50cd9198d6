#pragma once

#include <cstdint>
#include <vector>

#include "course_model/course.h"

// The sample course, compiled from examples/sample_course.toml when the
// program was built: two legs from the island's airfields, a balloon and
// three quiz questions.
extern const unsigned char kSampleCourseFile[];
extern const unsigned long kSampleCourseFile_SIZE;

// The course file's bytes, scrambled, as the build compiled them.
std::vector<uint8_t> SampleCourseFile();
// The same course read back, for tests that change it.
course_model::Course SampleCourse();
