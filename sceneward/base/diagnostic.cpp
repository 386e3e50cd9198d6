#include "sceneward/base/diagnostic.h"

#include <cstdio>

#include "common/c_runtime.h"

void SetDiagnosticV(Diagnostic* diagnostic, const char* file, int32_t line, const char* format,
                    va_list arguments) {
  if (diagnostic == nullptr) return;
  diagnostic->file = file;
  diagnostic->line = line;
  FormatFitsV(diagnostic->text, sizeof diagnostic->text, format, arguments);  // cut to fit
}

void SetDiagnostic(Diagnostic* diagnostic, const char* file, int32_t line, const char* format,
                   ...) {
  va_list arguments;
  va_start(arguments, format);
  SetDiagnosticV(diagnostic, file, line, format, arguments);
  va_end(arguments);
}
