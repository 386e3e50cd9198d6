#pragma once

#include <cstdarg>
#include <cstdint>

// Why the latest failing step failed, in words, for the command-line tool
// (the DLL only returns the status code). `file` points to the path the
// caller passed in; `line` is the script line, 0 when it does not apply.
struct Diagnostic {
  const char* file;
  int32_t line;
  char text[200];
};

// Fills the diagnostic, when there is one, with a printf-style text.
void SetDiagnostic(Diagnostic* diagnostic, const char* file, int32_t line, const char* format, ...)
    __attribute__((format(printf, 4, 5)));
void SetDiagnosticV(Diagnostic* diagnostic, const char* file, int32_t line, const char* format,
                    va_list arguments) __attribute__((format(printf, 4, 0)));
