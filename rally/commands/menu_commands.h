#pragma once

// Layer rally/commands: the menu commands, the host's key events and the
// quiz command, which drive the race and open the dialogs; the serving of
// what waited for a dialog. It uses race/, ui/ and the layers below.

#include <cstdint>

struct RallyModule;

// Carries out a WM_COMMAND of the main window. The whole 32-bit wParam is
// compared with the merged popup's range, so a notification code in the
// high word keeps a command out. True when the command was the module's
// (it is then consumed, also when its slot does nothing).
bool OnMenuCommand(RallyModule& m, uint32_t wparam);

// One slot of the "&Aerilon" popup, 0 to 13.
void RunMenuSlot(RallyModule& m, uint32_t slot);

// Once no dialog is open: opens what waited for the one that was, in turn.
// Called after each command, and by the engine's tick entry once the tick
// (whose score summary may have held others back) has returned.
void ServeWaitingDialogs(RallyModule& m);
