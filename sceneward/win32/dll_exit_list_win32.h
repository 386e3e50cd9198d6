#pragma once

// Runs, last first, the exit functions that code inside the DLL registered
// with atexit; the DLL's entry point calls it when the DLL is unloaded.
void RunDllExitList();
