#pragma once

#include <windows.h>

#include <cstdint>

// Runs one of the module's dialog resources modally, owned by the
// simulator's main window, with the procedure that belongs to it;
// DialogBoxParamA's result (-1 when the dialog cannot be created or the
// module has no such dialog).
int32_t RunModuleDialog(int32_t id);

// The dialog procedures. Each turns window messages into calls of the
// dialog's portable model, which reads the loaded module's state.
INT_PTR CALLBACK ScoreSummaryDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK QuizDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
INT_PTR CALLBACK CreditsDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
