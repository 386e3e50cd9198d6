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

// What compile tells of a course it has read: check's errors, as warnings,
// or as errors when strict (and then nothing is written).
std::vector<Diagnostic> CompileFindings(const CourseDocument& document, bool strict);

// The closing line of a check: "2 errors, 3 warnings".
std::string CountFindings(const std::vector<Diagnostic>& diagnostics);
// 0 when nothing was found, 1 with any error, 2 with warnings only.
int CheckExitStatus(const std::vector<Diagnostic>& diagnostics);
