#include <iostream>

#include "tools/aerilon-course/check/check.h"
#include "tools/aerilon-course/commands.h"
#include "tools/aerilon-course/load_course_document.h"

namespace {

// Findings on standard output, one a line, so that they can be kept or
// read by an editor; the count of all of them on standard error.
int Report(const std::vector<Diagnostic>& findings, int status) {
  PrintDiagnostics(std::cout, findings);
  std::cout.flush();
  std::cerr << CountFindings(findings) << "\n";
  return status;
}

}  // namespace

void AddCheckCommand(CLI::App& app, int* exit_status) {
  auto* command = app.add_subcommand(
      "check", "Check a course for the mistakes that make it unflyable or unfair");
  static std::string course;
  static std::string sounds;
  command->add_option("COURSE", course, "the course source (TOML) or course file (Rally.DAT)")
      ->required()
      ->type_name("FILE");
  CLI::Option* sounds_option =
      command
          ->add_option("--sounds", sounds,
                       "the simulator's folder: report each voice prompt without FOLDER/<name>.wav "
                       "(backslashes as folders, letters in any case)")
          ->type_name("FOLDER");
  command->footer(
      "Prints each finding as FILE:LINE:COLUMN: error|warning: message (no line for a course "
      "file) on standard output, then the count (\"2 errors, 3 warnings\") on standard error.\n"
      "Errors: the module would refuse the course, or a leg cannot be flown. Warnings: legal "
      "but probably wrong.\n"
      "Exit status: 0 nothing found; 1 errors (with or without warnings), or the course cannot "
      "be read; 2 warnings only.");
  command->callback([exit_status, sounds_option] {
    CourseDocument document;
    std::vector<Diagnostic> findings;
    if (!LoadCourseDocument(course, &document, &findings)) {
      *exit_status = Report(findings, 1);
      return;
    }
    std::optional<std::string> folder;
    if (sounds_option->count() > 0) folder = sounds;
    std::vector<Diagnostic> checked = CheckCourse(document, folder);
    findings.insert(findings.end(), checked.begin(), checked.end());
    *exit_status = Report(findings, CheckExitStatus(findings));
  });
}
