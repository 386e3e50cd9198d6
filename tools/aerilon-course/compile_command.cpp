#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "rally/course/course_writer.h"
#include "tools/aerilon-course/commands.h"
#include "tools/aerilon-course/course_document.h"
#include "tools/aerilon-course/course_lint.h"

void AddCompileCommand(CLI::App& app, int* exit_status) {
  auto* command = app.add_subcommand("compile", "Compile a course source into a course file");
  static std::string source, output = "Rally.DAT";
  command->add_option("SOURCE", source, "the course source (TOML)")->required();
  command->add_option("-o,--output", output, "the course file to write");
  static bool strict = false;
  command->add_flag("--strict", strict,
                    "refuse a course in which check finds errors (told as warnings otherwise)");
  command->callback([exit_status] {
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
    // Written beside the target first, so that a failed write leaves the
    // old course file as it was.
    std::string temporary = output + ".new";
    if (!WriteCourseFile(temporary, document.course) ||
        std::rename(temporary.c_str(), output.c_str()) != 0) {
      std::cerr << output << ": error: cannot be written: " << std::strerror(errno) << "\n";
      std::remove(temporary.c_str());
      *exit_status = 1;
    }
  });
}
