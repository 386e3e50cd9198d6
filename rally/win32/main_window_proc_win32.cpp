#include "rally/win32/main_window_proc_win32.h"

#include "rally/module/entry_points.h"
#include "rally/module/main_window_messages.h"

namespace {

MainWindowMessage KindOf(UINT message) {
  switch (message) {
    case WM_NCPAINT: return MainWindowMessage::kNonClientPaint;
    case WM_COMMAND: return MainWindowMessage::kCommand;
    default: return MainWindowMessage::kOther;
  }
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  RallyModule& m = LoadedModule();
  if (HandleMainWindowMessage(m, KindOf(message), reinterpret_cast<uintptr_t>(window),
                              static_cast<uint32_t>(wparam))) {
    return 0;
  }
  WNDPROC previous = reinterpret_cast<WNDPROC>(m.frame.previous_window_proc);
  return CallWindowProcA(previous, window, message, wparam, lparam);
}
