#include <iostream>

#include "tools/aerilon-course/check/check.h"
#include "tools/aerilon-course/commands.h"
#include "tools/aerilon-course/fly/fly_document.h"
#include "tools/aerilon-course/fly/fly_findings.h"
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
  static bool fly = false;
  static std::string aircraft_name = "light_single";
  command->add_option("COURSE", course, "the course source (TOML) or course file (Rally.DAT)")
      ->required()
      ->type_name("FILE");
  CLI::Option* sounds_option =
      command
          ->add_option("--sounds", sounds,
                       "the simulator's folder: report each voice prompt without FOLDER/<name>.wav "
                       "(backslashes as folders, letters in any case)")
          ->type_name("FOLDER");
  command->add_flag("--fly", fly,
                    "also fly every leg with the autopilot: a leg it cannot finish, or finishes "
                    "over its allowance, is an error; one with less than a tenth of the "
                    "allowance to spare a warning");
  command->add_option("--aircraft", aircraft_name,
                      "the autopilot's aircraft for --fly: light_single (default), aerobatic, "
                      "business_jet or an aircraft file");
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
    // Only a course the module loads can be flown.
    if (fly && !HasErrors(findings)) {
      std::optional<AircraftLimits> aircraft = ChooseAircraft(aircraft_name, &findings);
      if (aircraft) {
        FlyOptions options;
        options.aircraft = *aircraft;
        std::vector<Diagnostic> flown =
            FlightFindings(document, FlyCourseDocument(document, options, nullptr), *aircraft);
        findings.insert(findings.end(), flown.begin(), flown.end());
      }
    } else if (fly) {
      findings.push_back(Diagnostic{Severity::kWarning, document.file, 0, 0,
                                    "not flown (--fly): mend the errors first"});
    }
    *exit_status = Report(findings, CheckExitStatus(findings));
  });
}
