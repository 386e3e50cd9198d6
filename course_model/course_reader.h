#pragma once

#include <cstdint>
#include <vector>

#include "course_model/course.h"

// The course an image holds, in the writer's terms: what the course tools
// decompile, check and draw. The image must have passed CheckCourseImage.
// Only what the engine reads is kept: header bytes 11 to 15, reserved
// fields, the bytes of a title after its NUL and the quiz table's offset
// when there are no questions are dropped; a leg two entries share is
// read once for each. Laying the result out again gives a course that
// flies the same, and the same bytes for an image the writer made.
course_model::Course ReadCourseImage(const uint8_t* image, uint32_t size);
// Unscrambles a course file's bytes and reads them; false (and the
// module's reason in `problem`) for a file the module refuses.
bool ReadCourseFileBytes(std::vector<uint8_t> bytes, course_model::Course* course,
                         const char** problem);
