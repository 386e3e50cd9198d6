#include "rally/host/main_window_proc_win32.h"

#include "rally/host/entry_points.h"
#include "rally/ui/menu_commands.h"
#include "rally/ui/menu_merge.h"

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  RallyModule& m = LoadedModule();
  // The popup goes into the bar before the frame is painted, so the
  // simulator's own procedure draws the bar with it.
  if (message == WM_NCPAINT) MergeRallyMenu(m, reinterpret_cast<uintptr_t>(window));
  // The module's commands are consumed; the whole wParam takes part, so a
  // notification code in its high word leaves the command to the simulator.
  if (message == WM_COMMAND && OnMenuCommand(m, static_cast<uint32_t>(wparam))) return 0;
  WNDPROC previous = reinterpret_cast<WNDPROC>(m.frame.previous_window_proc);
  return CallWindowProcA(previous, window, message, wparam, lparam);
}
