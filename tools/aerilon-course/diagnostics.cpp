#include "tools/aerilon-course/diagnostics.h"

#include <algorithm>

std::string FormatDiagnostic(const Diagnostic& d) {
  std::string out = d.file;
  if (d.line > 0) out += ":" + std::to_string(d.line);
  if (d.line > 0 && d.column > 0) out += ":" + std::to_string(d.column);
  out += d.severity == Severity::kError ? ": error: " : ": warning: ";
  return out + d.message;
}

bool HasErrors(const std::vector<Diagnostic>& diagnostics) {
  return std::any_of(diagnostics.begin(), diagnostics.end(),
                     [](const Diagnostic& d) { return d.severity == Severity::kError; });
}
