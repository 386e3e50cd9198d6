#pragma once

// Layer rally/win32: RALLY.DLL's Windows glue, at the top and built for the
// DLL only: the exports and DLL entry, the FS98 import-table binding, the
// window procedure, the menu, the dialog procedures, the shell and the
// files. The only folder of the module that includes <windows.h>; it turns
// Windows calls into calls of the portable module and back.

#include "rally/host/platform.h"
#include "rally/host/shell_interface.h"

ShellOps MakeWin32Shell();
// C-runtime files, the system heap (GlobalAlloc) and the clock.
PlatformOps MakeWin32Platform();
