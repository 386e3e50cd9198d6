#pragma once

#include <cstddef>
#include <ostream>
#include <string>
#include <vector>

// What the course tools tell a designer: errors (the module would refuse
// the course or a leg cannot be flown) and warnings (legal but probably
// wrong), each at a place in the file when one is known.
enum class Severity { kError, kWarning };

struct Diagnostic {
  Severity severity;
  std::string file;
  int line;    // from 1; 0 when there is no line (a course file)
  int column;  // from 1; 0 when unknown
  std::string message;
};

// "FILE:LINE:COLUMN: error: message", leaving out what is unknown, with
// control characters shown as \xNN (see common/printable_text.h).
std::string FormatDiagnostic(const Diagnostic& d);
bool HasErrors(const std::vector<Diagnostic>& diagnostics);

// "2 errors, 3 warnings", of the diagnostics from `first` on.
std::string CountBySeverity(const std::vector<Diagnostic>& diagnostics, size_t first = 0);

// One a line, the first kShownDiagnostics of them and then a line with the
// count of the rest: a broken file of a million lines is told in a few
// screens, not in a hundred megabytes.
constexpr size_t kShownDiagnostics = 100;
void PrintDiagnostics(std::ostream& out, const std::vector<Diagnostic>& diagnostics);
