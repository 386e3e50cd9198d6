#include "rally/ui/dialog_gate.h"

#include "rally/state/module.h"
#include "rally/ui/score_summary.h"

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
