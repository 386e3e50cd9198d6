#pragma once

#include <cstddef>

// printf-style formatting into a fixed buffer, always terminated, cut at
// size - 1 characters. In the DLL it is the system's msvcrt formatter.
void FormatText(char* buffer, size_t size, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
