// The Windows test host: loads the real RALLY.DLL the way the simulator
// does, case after case in this one process, and prints one line per check
// and a closing "N passed, M failed". Exits 0 only when nothing failed.
//
// Usage: rally_dll_host [--pictures FOLDER] [--only TEXT] [path of RALLY.DLL]
//   --pictures  saves a picture of each dialog there (NAME.bmp)
//   --only      runs only the cases whose name contains TEXT
//   the DLL is by default the one next to this program
#include <windows.h>

#include <cstdio>
#include <exception>
#include <functional>
#include <string>

#include "check_report.h"
#include "dll_cases_win32.h"
#include "screenshot_win32.h"

namespace {

CheckReport* g_report = nullptr;
const char* g_case = "start";
std::string g_only;

// An access violation inside the DLL ends the process; say where first, so
// the log shows which case it was and still ends in a summary line.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
  char what[96];
  std::snprintf(what, sizeof what, "the process crashed with exception 0x%08lx at %p",
                info->ExceptionRecord->ExceptionCode, info->ExceptionRecord->ExceptionAddress);
  g_report->Fail(std::string(g_case) + ": crash", what);
  g_report->PrintSummary();
  return EXCEPTION_EXECUTE_HANDLER;
}

void RunCase(CheckReport& report, const char* name, const std::function<void()>& run) {
  if (std::string(name).find(g_only) == std::string::npos) return;
  g_case = name;
  try {
    run();
  } catch (const std::exception& e) {
    report.Fail(std::string(name) + ": set-up", e.what());
  }
}

std::string DllNextToProgram() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string program = n > 0 && n < sizeof path ? std::string(path, n) : std::string();
  size_t slash = program.find_last_of("\\/");
  return (slash == std::string::npos ? std::string() : program.substr(0, slash + 1)) + "RALLY.DLL";
}

}  // namespace

int main(int argc, char** argv) {
  std::string dll = DllNextToProgram();
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--pictures" && i + 1 < argc) {
      SetPictureFolder(argv[++i]);
    } else if (arg == "--only" && i + 1 < argc) {
      g_only = argv[++i];
    } else {
      dll = arg;
    }
  }
  CheckReport report;
  g_report = &report;
  SetUnhandledExceptionFilter(ReportCrash);
  std::printf("loading %s\n", dll.c_str());

  RunCase(report, "fs98 tables", [&] { CheckFs98Tables(report); });
  RunCase(report, "exports", [&] { CheckExportedRecords(report, dll); });
  RunCase(report, "full start-up", [&] { CheckFullStartUpAndHandOver(report, dll); });
  RunCase(report, "shutdown after 10 ticks", [&] { CheckShutdownDuringStartupDelay(report, dll); });
  RunCase(report, "no course file", [&] { CheckNoCourse(report, dll); });
  RunCase(report, "course with a wrong magic", [&] { CheckCourseWithWrongMagic(report, dll); });
  RunCase(report, "no FS98MAIN window", [&] { CheckNoMainWindow(report, dll); });
  RunCase(report, "message and prompt", [&] { CheckMessageWithPrompt(report, dll); });
  RunCase(report, "menu", [&] { CheckMenuMergeAndCommands(report, dll); });
  RunCase(report, "score summary dialog", [&] { CheckScoreSummaryDialog(report, dll); });
  RunCase(report, "quiz dialog", [&] { CheckQuizDialog(report, dll); });
  RunCase(report, "credits dialog", [&] { CheckCreditsDialog(report, dll); });

  report.PrintSummary();
  return report.AllPassed() ? 0 : 1;
}
