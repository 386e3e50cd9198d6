#include "rally/ui/host_events.h"

#include "rally/host/module.h"

void OnHostEvent(RallyModule& m, uint32_t event_id) {
  (void)event_id;
  // Keys mean nothing until the menu that names them has been merged.
  if (m.menu.command_base == 0) return;
}
