#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "course_model/course.h"

// The pilot's score file in words: the best result of each leg with its
// components, the percentage, the bonus points, the overall result, the
// take counters, the quiz questions' states, the collected names and the
// hidden word so far. With the course, legs and questions are those of the
// course (its leg count, its question texts); without it, every record.
std::string DescribeScoreFile(const std::vector<uint8_t>& file_bytes,
                              const course_model::Course* course);
