#pragma once

#include <functional>
#include <string>

#include "tests/win32/check_report.h"

// Runs the cases of a Windows test host one after the other in its one
// process. A case whose name lacks the filter text is skipped; a set-up
// failure (an exception) fails that case and the run goes on; a crash
// inside the DLL fails the case it happened in and still prints the
// summary line before the process ends.
class CaseRunner {
 public:
  // `only` empty runs every case.
  CaseRunner(CheckReport& report, std::string only);
  void Run(const char* name, const std::function<void()>& run);

 private:
  CheckReport& report_;
  std::string only_;
};

// The path of `file_name` in the folder of the running program.
std::string PathBesideThisProgram(const char* file_name);
