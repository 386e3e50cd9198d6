#pragma once

#include "tests/win32/check_report.h"

// Cases of the DLL's Win32 file system called directly: replacing a file
// (also when the new one cannot move in) and listing a folder by pattern.
void Win32FileSystemCases(CheckReport& report);
