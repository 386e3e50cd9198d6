#pragma once

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
