#pragma once

#include "common/file_replace.h"

// The moves of the Win32 file system, with ANSI calls only.
FileMoves Win32FileMoves();
