#pragma once

#include <cstdint>

struct RallyModule;

// The messages of the simulator's main window that the module acts on.
enum class MainWindowMessage { kNonClientPaint, kCommand, kOther };

// What MainWindowProc does with a message before the simulator's own
// procedure sees it: the popup is merged at a non-client repaint and the
// module's commands are consumed. True when the message is consumed.
// After shutdown nothing is done and nothing consumed: a procedure hooked in
// on top of ours keeps ours in the window's chain, and from then on it only
// passes messages on.
bool HandleMainWindowMessage(RallyModule& m, MainWindowMessage message, uintptr_t window,
                             uint32_t wparam);
