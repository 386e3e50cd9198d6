#include "rally/host/main_window_proc_win32.h"

#include "rally/host/entry_points.h"

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  WNDPROC previous = reinterpret_cast<WNDPROC>(LoadedModule().frame.previous_window_proc);
  return CallWindowProcA(previous, window, message, wparam, lparam);
}
