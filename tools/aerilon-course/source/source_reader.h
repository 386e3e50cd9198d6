#pragma once

#include <string>
#include <vector>

#include "tools/aerilon-course/course_document.h"
#include "tools/aerilon-course/diagnostics.h"

// Reads a course source (TOML, UTF-8; the README describes the format)
// into a course in the file's units, with where each object stands. Every
// error found is reported, each at its line and column; false when there
// was any.
bool ReadCourseSource(const std::string& text, const std::string& file, CourseDocument* document,
                      std::vector<Diagnostic>* diagnostics);
