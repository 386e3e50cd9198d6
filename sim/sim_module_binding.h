#pragma once

#include <cstdint>

#include "rally/host/stdio_platform.h"
#include "rally/state/module.h"
#include "sim/sim_host.h"

// Binds a module instance to the stand-in host, as the simulator binds the
// DLL: host operations and state block, the main window, and files below
// `files.root`. The routines are the module's entry points.
void BindModuleToSim(RallyModule& m, SimHost& host, StdioPlatform& files);

// The address the stand-in window keeps as the module's window procedure.
uintptr_t SimMainWindowProcAddress();
