#pragma once

#include <cstdint>
#include <string>

#include "sceneward/base/diagnostic.h"

// Prints the one line that tells what failed, with which file and, for a
// script, which line: "sceneward: FILE:LINE: what (status N)".
void ReportFailure(const Diagnostic& problem, int32_t status);

// A text of the simulator's files (code page 1252) as the terminal may
// show it: converted to UTF-8, control characters written as \xNN.
std::string Shown1252(const char* text);
// The same for a path or a diagnostic: UTF-8 where it is, code page 1252
// where it is not.
std::string ShownPath(const char* text);

// `text` padded with blanks to `width` characters (not bytes).
std::string PadRight(const std::string& text, size_t width);
size_t DisplayWidth(const std::string& text);
