#pragma once

#include <cstdint>

struct RallyModule;

// Carries out a WM_COMMAND of the main window. The whole 32-bit wParam is
// compared with the merged popup's range, so a notification code in the
// high word keeps a command out. True when the command was the module's
// (it is then consumed, also when its slot does nothing).
bool OnMenuCommand(RallyModule& m, uint32_t wparam);

// One slot of the "&Aerilon" popup, 0 to 13.
void RunMenuSlot(RallyModule& m, uint32_t slot);
