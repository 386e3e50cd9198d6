#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/aerilon-course/course_document.h"
#include "tools/aerilon-course/diagnostics.h"

// The mistakes that make a course unflyable (errors) or probably unfair
// (warnings), each at the object's line when the course came from a
// source. With a sounds folder, also every voice prompt that has no
// "<name>.wav" below it (backslashes separate folders, letters in any case).
std::vector<Diagnostic> CheckCourse(const CourseDocument& document,
                                    const std::optional<std::string>& sounds_folder);
