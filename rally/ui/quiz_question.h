#pragma once

#include <cstdint>

#include "rally/state/quiz_state.h"

struct CourseImage;

// Question `index` of the course's quiz table with its answers in the order
// of `row` (0 to 5).
CurrentQuestion MakeCurrentQuestion(const CourseImage& course, int32_t index, int32_t row);
