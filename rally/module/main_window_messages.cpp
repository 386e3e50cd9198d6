#include "rally/module/main_window_messages.h"

#include "rally/commands/menu_commands.h"
#include "rally/state/module.h"
#include "rally/ui/menu_merge.h"

bool HandleMainWindowMessage(RallyModule& m, MainWindowMessage message, uintptr_t window,
                             uint32_t wparam) {
  if (m.frame.shut_down) return false;
  switch (message) {
    // The popup goes into the bar before the frame is painted, so the
    // simulator's own procedure draws the bar with it.
    case MainWindowMessage::kNonClientPaint: MergeRallyMenu(m, window); return false;
    // The whole wParam takes part, so a notification code in its high word
    // leaves the command to the simulator.
    case MainWindowMessage::kCommand: return OnMenuCommand(m, wparam);
    case MainWindowMessage::kOther: return false;
  }
  return false;
}
