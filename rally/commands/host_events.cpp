#include "rally/commands/host_events.h"

#include "rally/state/module.h"
#include "rally/ui/message_commands.h"
#include "rally/ui/score_summary.h"

void OnHostEvent(RallyModule& m, uint32_t event_id) {
  // Keys mean nothing until the menu that names them has been merged.
  if (m.menu.command_base == 0) return;
  switch (event_id) {
    case kEventNextFix: ShowNextFixInfo(m); break;
    case kEventScoreSummary:
      // The dialog needs the window's message loop: the menu command runs it.
      m.host.issue_command(m.host.context, m.menu.command_base + kScoreCommandSlot, 0);
      break;
    case kEventRepeat: RepeatLastMessage(m); break;
    default: break;
  }
}
