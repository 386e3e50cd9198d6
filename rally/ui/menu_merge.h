#pragma once

#include <cstdint>

struct MenuOps;
struct RallyModule;

constexpr uint32_t kRallyMenuResource = 106;
constexpr char kRallyMenuTitle[] = "&Aerilon";
constexpr uint32_t kMenuItemNotFound = 0xFFFFFFFF;  // what GetMenuState answers
constexpr uint32_t kMenuItemGrayed = 0x0003;        // MFS_GRAYED

// Runs at every non-client repaint of the main window, before the window's
// own procedure paints the frame: when the window's menu bar lacks the
// "&Aerilon" popup, a fresh copy of menu 106 is numbered above every
// identifier the bar holds and appended to it. A merge that fails leaves
// MenuCommandLast at 0, so no command is taken until a later one succeeds.
void MergeRallyMenu(RallyModule& m, uintptr_t window);

// One more than the largest identifier in `menu`, each submenu level
// adding one more, compared unsigned; 0 when no item has a non-zero one.
uint32_t ScanMenuCommands(const MenuOps& ops, uintptr_t menu);

// Adds `base` to every identifier in `menu` and its submenus, separators
// included, and returns the largest identifier written.
uint32_t RenumberMenuCommands(const MenuOps& ops, uintptr_t menu, uint32_t base);
