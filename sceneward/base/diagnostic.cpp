#include "sceneward/base/diagnostic.h"

#include <cstdio>

void SetDiagnosticV(Diagnostic* diagnostic, const char* file, int32_t line, const char* format,
                    va_list arguments) {
  if (diagnostic == nullptr) return;
  diagnostic->file = file;
  diagnostic->line = line;
  std::vsnprintf(diagnostic->text, sizeof diagnostic->text, format, arguments);
}

void SetDiagnostic(Diagnostic* diagnostic, const char* file, int32_t line, const char* format,
                   ...) {
  va_list arguments;
  va_start(arguments, format);
  SetDiagnosticV(diagnostic, file, line, format, arguments);
  va_end(arguments);
}
