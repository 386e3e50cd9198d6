#pragma once

#include <windows.h>

// The procedure of the score summary dialog: it turns window messages into calls of
// the dialog's portable model, which reads the loaded module's state.
INT_PTR CALLBACK ScoreSummaryDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
