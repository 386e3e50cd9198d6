#include <iostream>

#include "rally/course/course_writer.h"
#include "tools/aerilon-course/commands.h"
#include "tools/aerilon-course/course_document.h"

void AddCompileCommand(CLI::App& app, int* exit_status) {
  auto* command = app.add_subcommand("compile", "Compile a course source into a course file");
  static std::string source, output = "Rally.DAT";
  command->add_option("SOURCE", source, "the course source (TOML)")->required();
  command->add_option("-o,--output", output, "the course file to write");
  command->callback([exit_status] {
    CourseDocument document;
    std::vector<Diagnostic> diagnostics;
    bool read = LoadCourseDocument(source, &document, &diagnostics);
    for (const Diagnostic& d : diagnostics) std::cerr << FormatDiagnostic(d) << "\n";
    if (!read) {
      *exit_status = 1;
      return;
    }
    if (!WriteCourseFile(output, document.course)) {
      std::cerr << output << ": error: cannot be written\n";
      *exit_status = 1;
    }
  });
}
