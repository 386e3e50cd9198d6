#include <iostream>

#include "course_model/course_writer.h"
#include "tools/aerilon-course/check/check.h"
#include "tools/aerilon-course/commands.h"
#include "tools/aerilon-course/load_course_document.h"
#include "tools/common/output_file.h"

void AddCompileCommand(CLI::App& app, int* exit_status) {
  auto* command = app.add_subcommand("compile", "Compile a course source into a course file");
  static std::string source, output = "Rally.DAT";
  command->add_option("SOURCE", source, "the course source (TOML)")->required();
  command->add_option(
      "-o,--output", output,
      "the course file to write (default Rally.DAT), beside the old one and then in its "
      "place; missing folders are made, a symbolic link is written through, and "
      "the source itself, a folder, a pipe, a device or a read-only file is "
      "refused");
  static bool strict = false;
  command->add_flag("--strict", strict,
                    "refuse a course in which check finds errors (told as warnings otherwise)");
  command->callback([exit_status] {
    // Refused before the source is read: nothing is lost and no work is wasted.
    if (std::optional<std::string> problem = CheckOutputFile(output, {source})) {
      std::cerr << output << ": error: " << *problem << "\n";
      *exit_status = 1;
      return;
    }
    CourseDocument document;
    std::vector<Diagnostic> diagnostics;
    bool read = LoadCourseDocument(source, &document, &diagnostics);
    if (read) {
      std::vector<Diagnostic> findings = CompileFindings(document, strict);
      diagnostics.insert(diagnostics.end(), findings.begin(), findings.end());
      read = !HasErrors(findings);
    }
    PrintDiagnostics(std::cerr, diagnostics);
    if (!read) {
      *exit_status = 1;
      return;
    }
    if (std::optional<std::string> problem =
            WriteOutputFile(output, EncodeCourseFile(document.course), {source})) {
      std::cerr << output << ": error: " << *problem << "\n";
      *exit_status = 1;
    }
  });
}
