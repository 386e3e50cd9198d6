#include "rally/win32/credits_dialog_win32.h"

#include "rally/win32/dialogs_win32.h"

namespace {

// The texts are all in the template; OK, Enter, Esc and the close box end it.
INT_PTR OnCommand(HWND dialog, WPARAM wparam) {
  WORD control = LOWORD(wparam);
  if (control != IDOK && control != IDCANCEL) return FALSE;
  EndDialog(dialog, 1);
  return TRUE;
}

}  // namespace

INT_PTR CALLBACK CreditsDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND: return OnCommand(dialog, wparam);
    default: return FALSE;
  }
}
