#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>

#include "tools/aerilon-course/commands.h"
#include "tools/aerilon-course/course_document.h"
#include "tools/aerilon-course/score_report.h"

namespace {

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << FormatDiagnostic({Severity::kError, path, 0, 0,
                                   std::string("cannot be opened: ") + std::strerror(errno)})
              << "\n";
    return false;
  }
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    std::cerr << FormatDiagnostic({Severity::kError, path, 0, 0, "cannot be read"}) << "\n";
    return false;
  }
  return true;
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
  command->callback([exit_status] {
    std::vector<uint8_t> bytes;
    CourseDocument document;
    if (!ReadWholeFile(scores, &bytes) || (!course.empty() && !LoadCourse(course, &document))) {
      *exit_status = 1;
      return;
    }
    std::cout << DescribeScoreFile(bytes, course.empty() ? nullptr : &document.course);
  });
}
