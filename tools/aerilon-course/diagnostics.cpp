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
