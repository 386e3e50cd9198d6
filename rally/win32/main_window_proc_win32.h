#pragma once

#include <windows.h>

// Installed on the simulator's main window at start-up. Every message it
// does not consume goes on to the window's previous procedure.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
