#pragma once

#include "rally/host/shell_interface.h"
#include "sim/sim_host.h"

// The stand-in's window and shell calls (module handle, main window, its
// procedure, the menu loop, dialogs, the product code), logged on the host.
ShellOps SimShellOps(SimHost& host);
