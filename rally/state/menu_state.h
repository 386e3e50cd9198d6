#pragma once

#include <cstdint>

// Numbering of the merged "&Aerilon" popup. MenuCommandBase stays 0 until a
// merge has been attempted; while it is 0 the host's key events are ignored.
struct MenuState {
  uintptr_t rally_menu = ~static_cast<uintptr_t>(0);  // invalid until first loaded
  uint32_t command_base = 0;
  uint32_t command_last = 0;
};
