// The course sources designers write. A source the compiler accepts gives
// a course file the module accepts; decompiled and compiled again, it gives
// the same bytes.
#include <string>
#include <vector>

#include "course_model/course_reader.h"
#include "course_model/course_writer.h"
#include "tests/fuzz/fuzz_targets.h"
#include "tools/aerilon-course/source/source_reader.h"
#include "tools/aerilon-course/source/source_writer.h"

int FuzzCourseSource(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  CourseDocument document;
  std::vector<Diagnostic> diagnostics;
  if (!ReadCourseSource(text, "fuzz.toml", &document, &diagnostics)) {
    FuzzCheck(HasErrors(diagnostics), "a refused source is told why");
    return 0;
  }
  std::vector<uint8_t> file = EncodeCourseFile(document.course);
  course_model::Course read;
  const char* problem = nullptr;
  FuzzCheck(ReadCourseFileBytes(file, &read, &problem), "the module accepts a compiled course");

  CourseDocument again;
  std::vector<Diagnostic> again_diagnostics;
  FuzzCheck(ReadCourseSource(WriteCourseSource(read, "fuzz.dat"), "decompiled.toml", &again,
                             &again_diagnostics),
            "a decompiled course compiles");
  FuzzCheck(EncodeCourseFile(again.course) == file,
            "decompiling and compiling gives the same bytes");
  return 0;
}
