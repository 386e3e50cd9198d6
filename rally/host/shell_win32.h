#pragma once

#include "rally/host/platform.h"
#include "rally/host/shell_interface.h"

ShellOps MakeWin32Shell();
// C-runtime files, the system heap (GlobalAlloc) and the clock.
PlatformOps MakeWin32Platform();
