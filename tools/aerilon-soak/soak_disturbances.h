#pragma once

#include <cstdint>

struct SoakModuleRun;

// What happens to the module besides the flight, at random: pause, slew,
// crash and suspend toggled; the condition index and the magnetic
// variation changed; the module's menu commands (every slot), the host's
// key events and other events; repaints and a fresh menu bar; jumps.
void DisturbBeforeTick(SoakModuleRun& run);
// Inside a modal dialog: a tick, a key or a menu command arrives.
void DisturbInsideDialog(SoakModuleRun& run);
// The pilot's choice of slot `slot` of the module's popup, if it is in the bar.
void DeliverSlot(SoakModuleRun& run, uint32_t slot);
