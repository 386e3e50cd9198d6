#include "tools/aerilon-course/diagnostics.h"

#include <algorithm>

#include "common/printable_text.h"

// The message may quote the file (a key, a name, a text): it is shown,
// never acted on, by the terminal.
std::string FormatDiagnostic(const Diagnostic& d) {
  std::string out = PrintableText(d.file, TextEncoding::kUtf8);
  if (d.line > 0) out += ":" + std::to_string(d.line);
  if (d.line > 0 && d.column > 0) out += ":" + std::to_string(d.column);
  out += d.severity == Severity::kError ? ": error: " : ": warning: ";
  return out + PrintableText(d.message, TextEncoding::kUtf8);
}

bool HasErrors(const std::vector<Diagnostic>& diagnostics) {
  return std::any_of(diagnostics.begin(), diagnostics.end(),
                     [](const Diagnostic& d) { return d.severity == Severity::kError; });
}

std::string CountBySeverity(const std::vector<Diagnostic>& diagnostics, size_t first) {
  size_t errors = 0, warnings = 0;
  for (size_t i = first; i < diagnostics.size(); ++i) {
    (diagnostics[i].severity == Severity::kError ? errors : warnings)++;
  }
  return std::to_string(errors) + (errors == 1 ? " error, " : " errors, ") +
         std::to_string(warnings) + (warnings == 1 ? " warning" : " warnings");
}

void PrintDiagnostics(std::ostream& out, const std::vector<Diagnostic>& diagnostics) {
  for (size_t i = 0; i < diagnostics.size() && i < kShownDiagnostics; ++i) {
    out << FormatDiagnostic(diagnostics[i]) << "\n";
  }
  if (diagnostics.size() <= kShownDiagnostics) return;
  out << diagnostics[0].file << ": " << diagnostics.size() - kShownDiagnostics
      << " more not shown (" << CountBySeverity(diagnostics, kShownDiagnostics) << ")\n";
}
