#pragma once

#include <cstdint>

struct RallyModule;

// The stand-in window's menu bar: its largest command identifier, 215,
// sits inside a top-level popup, so the module's popup numbers its slots
// from 217 (slot 0) to 230 (slot 13).
constexpr uint32_t kSimMenuBarLargestId = 215;
constexpr uint32_t kSimMenuCommandBase = kSimMenuBarLargestId + 2;
constexpr uint32_t kSimMenuLastSlot = 13;

// The merge of the module's popup into that bar, as the first repaint of a
// hooked window brings it: only once the module has subclassed the window.
void SimMergeModuleMenu(RallyModule& m);

// The WM_COMMAND identifier of a slot of the merged popup.
inline uint32_t SimMenuCommand(uint32_t slot) {
  return kSimMenuCommandBase + slot;
}
