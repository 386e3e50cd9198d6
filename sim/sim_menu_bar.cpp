#include "sim/sim_menu_bar.h"

#include "rally/host/module.h"

void SimMergeModuleMenu(RallyModule& m) {
  if (!m.frame.subclassed) return;
  m.menu.command_base = kSimMenuCommandBase;
  m.menu.command_last = kSimMenuCommandBase + kSimMenuLastSlot;
}
