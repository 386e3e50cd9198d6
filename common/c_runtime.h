#pragma once

#include <cstdarg>
#include <cstddef>

// Formatting and number reading through the system's C runtime. On
// Windows that is msvcrt.dll's own _vsnprintf and strtod: MinGW would
// otherwise link its C99 printf and strtod into the DLL, some 30 KiB.

// Formats into `buffer`, always terminated when `size` is not 0; true when
// the whole text and its terminator fit.
bool FormatFits(char* buffer, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
bool FormatFitsV(char* buffer, size_t size, const char* format, va_list arguments)
    __attribute__((format(printf, 3, 0)));

// strtod of the system's C runtime, in the "C" locale the DLLs never leave.
double ReadDecimal(const char* text, char** end);
