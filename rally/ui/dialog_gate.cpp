#include "rally/ui/dialog_gate.h"

#include "rally/host/module.h"
#include "rally/ui/menu_commands.h"
#include "rally/ui/score_summary.h"

// A finished leg's summary first, then the commands by slot. Each is taken
// off before it runs; the opener has booked its own dialog's result by now.
void ServeWaitingDialogs(RallyModule& m) {
  DialogGate& gate = m.dialogs;
  if (gate.open) return;
  if (gate.summary_after_leg) {
    gate.summary_after_leg = false;
    OpenScoreSummary(m);
  }
  for (uint32_t slot = 0; slot < 32 && !gate.open; ++slot) {
    uint32_t bit = 1u << slot;
    if ((gate.waiting_commands & bit) == 0) continue;
    gate.waiting_commands &= ~bit;
    RunMenuSlot(m, slot);
  }
}

bool ModuleDialogOpen(const RallyModule& m) {
  return m.dialogs.open;
}

int32_t RunModuleDialog(RallyModule& m, int32_t id, bool in_menu_loop) {
  ShellOps& s = m.shell;
  m.dialogs.open = true;
  if (in_menu_loop) s.send_menu_loop(s.context, m.frame.main_window, true);
  int32_t result = s.run_dialog(s.context, id);
  if (in_menu_loop) s.send_menu_loop(s.context, m.frame.main_window, false);
  m.dialogs.open = false;
  return result;
}

void WaitForDialog(RallyModule& m, uint32_t slot) {
  if (slot < 32) m.dialogs.waiting_commands |= 1u << slot;
}

void WaitForDialogWithLegSummary(RallyModule& m) {
  m.dialogs.summary_after_leg = true;
}
