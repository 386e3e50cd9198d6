#pragma once

#include <windows.h>

#include <cstdint>

// Runs one of the module's dialog resources modally, owned by the
// simulator's main window, with the procedure that belongs to it;
// DialogBoxParamA's result (-1 when the dialog cannot be created or the
// module has no such dialog).
int32_t RunModuleDialog(int32_t id);
