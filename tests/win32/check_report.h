#pragma once

#include <string>

// The test host's verdicts: one line per check, "PASS name" or
// "FAIL name: what differed", and a closing "N passed, M failed" line that
// the test scripts look for.
class CheckReport {
 public:
  // Prints the verdict and returns ok, so a caller can stop a case whose
  // later checks would only repeat this failure.
  bool Expect(bool ok, const std::string& name, const std::string& what_differed);
  bool Pass(const std::string& name) { return Expect(true, name, {}); }
  bool Fail(const std::string& name, const std::string& what_differed) {
    return Expect(false, name, what_differed);
  }

  void PrintSummary() const;
  bool AllPassed() const { return failed_ == 0 && passed_ > 0; }

 private:
  int passed_ = 0;
  int failed_ = 0;
};
