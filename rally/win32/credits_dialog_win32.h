#pragma once

#include <windows.h>

// The procedure of the credits dialog: it turns window messages into calls of
// the dialog's portable model, which reads the loaded module's state.
INT_PTR CALLBACK CreditsDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
