#pragma once

#include <cstdint>

// Numbering of the merged "&Aerilon" popup. MenuCommandBase stays 0 until a
// merge has been attempted; while it is 0 the host's key events are ignored.
struct MenuState {
  uintptr_t rally_menu = ~static_cast<uintptr_t>(0);  // invalid until first loaded
  uint32_t command_base = 0;
  uint32_t command_last = 0;  // 0 while the popup takes no command: not merged, or a failed merge
};

// The merged popup's commands reach the module: base to last. A base of 0
// leaves the last at 0 as well.
inline bool MenuTakesCommands(const MenuState& menu) {
  return menu.command_last != 0;
}
