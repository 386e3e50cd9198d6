#include "tests/win32/case_runner_win32.h"

#include <windows.h>

#include <cstdio>
#include <exception>
#include <utility>

namespace {

CheckReport* g_report = nullptr;
std::string g_case = "start";

// An access violation inside the DLL ends the process; say where first, so
// the log shows which case it was and still ends in a summary line.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
  char what[96];
  std::snprintf(what, sizeof what, "the process crashed with exception 0x%08lx at %p",
                info->ExceptionRecord->ExceptionCode, info->ExceptionRecord->ExceptionAddress);
  g_report->Fail(g_case + ": crash", what);
  g_report->PrintSummary();
  return EXCEPTION_EXECUTE_HANDLER;
}

}  // namespace

CaseRunner::CaseRunner(CheckReport& report, std::string only)
    : report_(report), only_(std::move(only)) {
  g_report = &report;
  SetUnhandledExceptionFilter(ReportCrash);
}

void CaseRunner::Run(const char* name, const std::function<void()>& run) {
  if (std::string(name).find(only_) == std::string::npos) return;
  g_case = name;
  try {
    run();
  } catch (const std::exception& e) {
    report_.Fail(std::string(name) + ": set-up", e.what());
  }
}

std::string PathBesideThisProgram(const char* file_name) {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string program = n > 0 && n < sizeof path ? std::string(path, n) : std::string();
  size_t slash = program.find_last_of("\\/");
  return (slash == std::string::npos ? std::string() : program.substr(0, slash + 1)) + file_name;
}
