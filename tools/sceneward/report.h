#pragma once

#include <cstdint>
#include <string>

#include "sceneward/base/diagnostic.h"

// Prints the one line that tells what failed, with which file and, for a
// script, which line: "sceneward: FILE:LINE: what (status N)".
void ReportFailure(const Diagnostic& problem, int32_t status);

// A Latin-1 text of the simulator's files as UTF-8, for the terminal.
std::string FromLatin1(const char* text);

// `text` padded with blanks to `width` characters (not bytes).
std::string PadRight(const std::string& text, size_t width);
size_t DisplayWidth(const std::string& text);
