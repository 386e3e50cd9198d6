#include "rally/host/dialogs_win32.h"

#include <windows.h>

#include "rally/host/entry_points.h"

namespace {

// Until a dialog has a procedure of its own, its buttons simply close it.
INT_PTR CALLBACK PlainDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  if (message == WM_INITDIALOG) return TRUE;
  if (message == WM_COMMAND) {
    EndDialog(dialog, LOWORD(wparam));
    return TRUE;
  }
  return FALSE;
}

}  // namespace

int32_t RunModuleDialog(int32_t id) {
  const RallyModule& m = LoadedModule();
  return static_cast<int32_t>(
      DialogBoxParamA(reinterpret_cast<HINSTANCE>(m.frame.module_instance), MAKEINTRESOURCEA(id),
                      reinterpret_cast<HWND>(m.frame.main_window), PlainDialogProc, 0));
}
