// A course file the module accepts (the input is its plain image, scrambled
// here) decompiles into a source that compiles back to a course file with
// the same reading, which the module accepts too.
#include <string>
#include <vector>

#include "course_model/course_reader.h"
#include "course_model/course_writer.h"
#include "rally/course/scramble.h"
#include "tests/fuzz/fuzz_targets.h"
#include "tools/aerilon-course/source/source_reader.h"
#include "tools/aerilon-course/source/source_writer.h"

int FuzzCourseDecompile(const uint8_t* data, size_t size) {
  std::vector<uint8_t> file(data, data + size);
  ScrambleWords(file.data(), static_cast<uint32_t>(file.size()));
  course_model::Course course;
  const char* problem = nullptr;
  if (!ReadCourseFileBytes(file, &course, &problem)) return 0;

  CourseDocument document;
  std::vector<Diagnostic> diagnostics;
  FuzzCheck(ReadCourseSource(WriteCourseSource(course, "fuzz.dat"), "decompiled.toml", &document,
                             &diagnostics),
            "every course the module accepts decompiles into a source that compiles");
  std::vector<uint8_t> compiled = EncodeCourseFile(document.course);
  FuzzCheck(compiled == EncodeCourseFile(course), "the compiled source is the decompiled course");
  course_model::Course reread;
  FuzzCheck(ReadCourseFileBytes(compiled, &reread, &problem),
            "the module accepts the compiled source");
  return 0;
}
