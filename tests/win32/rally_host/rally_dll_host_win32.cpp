// The Windows test host: loads the real RALLY.DLL the way the simulator
// does, case after case in this one process, and prints one line per check
// and a closing "N passed, M failed". Exits 0 only when nothing failed.
//
// Usage: rally_dll_host [--pictures FOLDER] [--only TEXT] [path of RALLY.DLL]
//        rally_dll_host --installed SIMULATOR_FOLDER
//   --pictures  saves a picture of each dialog there (NAME.bmp)
//   --only      runs only the cases whose name contains TEXT
//   --installed runs the module installed in that folder, and only that
//   the DLL is by default the one next to this program
#include <cstdio>
#include <string>

#include "tests/win32/case_runner_win32.h"
#include "tests/win32/check_report.h"
#include "tests/win32/rally_host/dll_cases_win32.h"
#include "tests/win32/rally_host/screenshot_win32.h"

int main(int argc, char** argv) {
  std::string dll = PathBesideThisProgram("RALLY.DLL");
  std::string only, installed;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--installed" && i + 1 < argc) {
      installed = argv[++i];
    } else if (arg == "--pictures" && i + 1 < argc) {
      SetPictureFolder(argv[++i]);
    } else if (arg == "--only" && i + 1 < argc) {
      only = argv[++i];
    } else {
      dll = arg;
    }
  }
  CheckReport report;
  CaseRunner cases(report, only);
  if (!installed.empty()) {
    cases.Run("installed folder", [&] { CheckInstalledFolder(report, installed); });
    report.PrintSummary();
    return report.AllPassed() ? 0 : 1;
  }
  std::printf("loading %s\n", dll.c_str());

  cases.Run("fs98 tables", [&] { CheckFs98Tables(report); });
  cases.Run("exports", [&] { CheckExportedRecords(report, dll); });
  cases.Run("full start-up", [&] { CheckFullStartUpAndHandOver(report, dll); });
  cases.Run("shutdown after 10 ticks", [&] { CheckShutdownDuringStartupDelay(report, dll); });
  cases.Run("no course file", [&] { CheckNoCourse(report, dll); });
  cases.Run("course with a wrong magic", [&] { CheckCourseWithWrongMagic(report, dll); });
  cases.Run("no FS98MAIN window", [&] { CheckNoMainWindow(report, dll); });
  cases.Run("message and prompt", [&] { CheckMessageWithPrompt(report, dll); });
  cases.Run("menu", [&] { CheckMenuMergeAndCommands(report, dll); });
  cases.Run("score summary dialog", [&] { CheckScoreSummaryDialog(report, dll); });
  cases.Run("quiz dialog", [&] { CheckQuizDialog(report, dll); });
  cases.Run("credits dialog", [&] { CheckCreditsDialog(report, dll); });
  cases.Run("ticks inside the summary", [&] { CheckTicksInsideTheScoreSummary(report, dll); });
  cases.Run("score file replace", [&] { CheckScoreFileReplace(report, dll); });
  cases.Run("shutdown under another hook", [&] { CheckShutdownUnderAnotherHook(report, dll); });

  report.PrintSummary();
  return report.AllPassed() ? 0 : 1;
}
