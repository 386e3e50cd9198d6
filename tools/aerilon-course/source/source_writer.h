#pragma once

#include <string>

#include "course_model/course.h"

// A course as course source text, as `decompile` prints it: positions in
// degrees and minutes, altitudes in metres, speeds in knots, headings in
// degrees, each in the shortest form that reads back to exactly the stored
// value, and { raw = N } where no designer's form does. Reading the text
// gives the same course again.
std::string WriteCourseSource(const course_model::Course& course, const std::string& origin);
