#include <iostream>

#include "tools/aerilon-course/commands.h"
#include "tools/aerilon-course/load_course_document.h"
#include "tools/aerilon-course/scores/score_file_kind.h"
#include "tools/aerilon-course/scores/score_report.h"
#include "tools/common/input_file.h"

namespace {

// The score file's bytes, or false with the reason told: a file that cannot
// be read, or one that is surely no score file.
bool ReadScores(const std::string& path, std::vector<uint8_t>* bytes) {
  std::string problem;
  if (ReadInputFile(path, bytes, &problem)) {
    std::optional<std::string> kind = NotAScoreFile(*bytes);
    if (!kind) return true;
    problem = *kind;
  }
  std::cerr << FormatDiagnostic({Severity::kError, path, 0, 0, problem}) << "\n";
  return false;
}

bool LoadCourse(const std::string& path, CourseDocument* document) {
  std::vector<Diagnostic> diagnostics;
  bool read = LoadCourseDocument(path, document, &diagnostics);
  for (const Diagnostic& d : diagnostics) std::cerr << FormatDiagnostic(d) << "\n";
  return read;
}

}  // namespace

void AddScoresCommand(CLI::App& app, int* exit_status) {
  auto* command = app.add_subcommand("scores", "Tell a pilot's score file (Rally.SCO) in words");
  static std::string scores, course;
  command->add_option("SCORES", scores, "the score file (Rally.SCO)")->required();
  command->add_option("--course", course,
                      "the course the scores belong to (Rally.DAT or its source): names the "
                      "legs and questions and counts only the course's legs");
  command->footer(
      "A course file, a text file or a block holding values the module never writes is refused "
      "as no score file. Exit status: 0 told, 1 a file cannot be read or is refused.");
  command->callback([exit_status] {
    std::vector<uint8_t> bytes;
    CourseDocument document;
    if (!ReadScores(scores, &bytes) || (!course.empty() && !LoadCourse(course, &document))) {
      *exit_status = 1;
      return;
    }
    std::cout << DescribeScoreFile(bytes, course.empty() ? nullptr : &document.course);
  });
}
