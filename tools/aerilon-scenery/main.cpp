// aerilon-scenery: the add-on's island as its designer sees it. `check`
// reads an island source and tells what does not agree with the module's
// start positions and the courses flown on the island.
#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>

#include "tools/aerilon-course/load_course_document.h"
#include "tools/aerilon-scenery/island/island_check.h"
#include "tools/aerilon-scenery/island/island_reader.h"

namespace {

int Check(const std::string& path) {
  Island island;
  std::vector<Diagnostic> findings;
  bool read = LoadIsland(path, &island, &findings);
  std::vector<CourseDocument> courses;
  std::filesystem::path folder = std::filesystem::path(path).parent_path();
  for (const std::string& name : read ? island.courses : std::vector<std::string>{}) {
    CourseDocument course;
    std::vector<Diagnostic> problems;
    if (LoadCourseDocument((folder / name).string(), &course, &problems)) {
      courses.push_back(course);
    } else {
      for (const Diagnostic& d : problems)
        if (d.severity == Severity::kError) findings.push_back(d);
    }
  }
  if (read) {
    std::vector<Diagnostic> checked = CheckIsland(island, courses);
    findings.insert(findings.end(), checked.begin(), checked.end());
  }
  PrintDiagnostics(std::cout, findings);
  std::cout.flush();
  std::cerr << CountBySeverity(findings) << "\n";
  return HasErrors(findings) ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{
      "The Aerilon island's scenery: check an island source against the module and the "
      "courses flown on it."};
  app.require_subcommand(1);
  int exit_status = 0;
  static std::string island;
  auto* check = app.add_subcommand(
      "check", "Check that the island has a runway under every start position and every landing");
  check->add_option("ISLAND", island, "the island source (TOML)")->required()->type_name("FILE");
  check->footer(
      "Prints each finding as FILE:LINE:COLUMN: error: message, then the count on "
      "standard error. Exit status: 0 all agrees; 1 errors, or the island cannot be read.");
  check->callback([&exit_status] { exit_status = Check(island); });
  CLI11_PARSE(app, argc, argv);
  return exit_status;
}
