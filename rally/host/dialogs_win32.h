#pragma once

#include <cstdint>

// Runs one of the module's dialog resources modally, owned by the
// simulator's main window; DialogBoxParamA's result (-1 when the dialog
// cannot be created).
int32_t RunModuleDialog(int32_t id);
