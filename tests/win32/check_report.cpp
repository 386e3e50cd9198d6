#include "tests/win32/check_report.h"

#include <cstdio>

bool CheckReport::Expect(bool ok, const std::string& name, const std::string& what_differed) {
  if (ok) {
    passed_ += 1;
    std::printf("PASS %s\n", name.c_str());
  } else {
    failed_ += 1;
    std::printf("FAIL %s: %s\n", name.c_str(), what_differed.c_str());
  }
  // A crash in the DLL ends the process: what was printed must be out.
  std::fflush(stdout);
  return ok;
}

void CheckReport::PrintSummary() const {
  std::printf("%d passed, %d failed\n", passed_, failed_);
  std::fflush(stdout);
}
