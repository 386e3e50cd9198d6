#pragma once

#include <string>
#include <vector>

#include "tools/aerilon-course/course_document.h"
#include "tools/aerilon-course/diagnostics.h"

// Reads a course source or a course file, told apart by their bytes (a
// course file unscrambles to "VESK RALLY") and by the name: a file whose
// name ends in .DAT, in any case (Rally.DAT), is a course file whatever it
// holds, and the module's reason refuses it when it is none. Only a
// regular file is read. False with the reasons in `diagnostics` when it
// cannot be read; warnings may come with a success.
bool LoadCourseDocument(const std::string& path, CourseDocument* document,
                        std::vector<Diagnostic>* diagnostics);
