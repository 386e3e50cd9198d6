#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rally/host/shell_interface.h"

struct RallyModule;
struct SimHost;

// The stand-in window's menus: the simulator's menu bar with its popups,
// and the module's menu 106 as LoadMenuA makes it. Handles are plain
// numbers; a destroyed menu keeps its place but answers no call.

struct SimMenuItem {
  std::string text;  // empty for a separator
  uint32_t id = 0;
  uint32_t state = 0;
  uintptr_t submenu = 0;  // 0 when the item opens none
};

struct SimMenu {
  uintptr_t handle = 0;
  std::vector<SimMenuItem> items;
  bool destroyed = false;
};

struct SimMenuBar {
  SimHost* host = nullptr;        // where LoadMenuA, AppendMenuA and the writes are logged
  uintptr_t window = 0;           // the window whose bar GetMenu answers
  uintptr_t bar = 0;              // that bar; 0 when the window has none
  uintptr_t module_instance = 0;  // the module whose menu 106 LoadMenuA finds
  bool refuse_load = false;       // LoadMenuA fails
  bool refuse_append = false;     // AppendMenuA fails
  std::vector<SimMenu> menus;
  uintptr_t next_handle = 0x00030100;
};

// The simulator's bar of aerilon-sim: its largest command identifier, 215,
// sits inside a top-level popup, so the module's popup is numbered from 217.
constexpr uint32_t kSimMenuBarLargestId = 215;

// Gives the module the stand-in's menus, with a simulator bar on the host's
// window (the module's menu 106 is found in the host's module handle).
void BindSimMenuBar(RallyModule& m, SimMenuBar& menus, SimHost& host);

// A fresh simulator bar, made the window's. Its popups hold identifiers
// below 200 and separators; `largest_id` is either the last item of a
// top-level popup or a command of the bar itself.
uintptr_t SimGiveWindowMenuBar(SimMenuBar& menus, uint32_t largest_id, bool inside_popup);

uintptr_t SimCreateMenu(SimMenuBar& menus);
void SimAppendItem(SimMenuBar& menus, uintptr_t menu, const SimMenuItem& item);
// The live menu with that handle, or null.
SimMenu* SimFindMenu(SimMenuBar& menus, uintptr_t handle);
const SimMenu* SimFindMenu(const SimMenuBar& menus, uintptr_t handle);

// A WM_NCPAINT of the main window: it reaches the module's procedure only
// once the module has hooked the window.
void SimPaintWindowFrame(RallyModule& m, const SimHost& host);

// The popup titled "&Aerilon" in the window's bar, or null.
const SimMenu* SimRallyPopup(const SimMenuBar& menus);
// The WM_COMMAND identifier of a slot of the module's popup: the
// identifier of its first item (slot 0) plus the slot; 0 while the bar
// holds no such popup.
uint32_t SimMenuCommand(const SimMenuBar& menus, uint32_t slot);
