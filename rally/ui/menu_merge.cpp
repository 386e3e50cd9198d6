#include "rally/ui/menu_merge.h"

#include "rally/state/module.h"

namespace {

constexpr char kEnterRaceText[] = "&Entra in gara";
constexpr char kLeaveRaceText[] = "&Esci di gara";
constexpr uintptr_t kNoRallyMenu = ~static_cast<uintptr_t>(0);

struct MenuItem {
  uint32_t state;
  uint32_t id;
  uintptr_t submenu;
};

uint32_t ItemCount(const MenuOps& ops, uintptr_t menu) {
  int32_t count = ops.get_item_count(ops.context, menu);
  return count > 0 ? static_cast<uint32_t>(count) : 0;
}

// An item that cannot be read counts as one without an identifier.
MenuItem ReadItem(const MenuOps& ops, uintptr_t menu, uint32_t position) {
  MenuItem item{0, 0, 0};
  bool read = ops.get_item(ops.context, menu, position, &item.state, &item.id, &item.submenu);
  return read ? item : MenuItem{0, 0, 0};
}

uint32_t Larger(uint32_t a, uint32_t b) {
  return a > b ? a : b;
}

// The popup in the bar is the one last loaded; a handle that was never
// loaded, or is gone, cannot be found in any bar.
bool BarHoldsRallyMenu(const MenuOps& ops, uintptr_t bar, uintptr_t rally_menu) {
  if (rally_menu == kNoRallyMenu) return false;
  uint32_t as_id = static_cast<uint32_t>(rally_menu);
  return ops.get_menu_state(ops.context, bar, as_id) != kMenuItemNotFound;
}

// A failed merge forgets the popup: the next repaint then tries again
// whatever the bar holds (a null or destroyed handle could match an item
// of the simulator's own, a separator or a later menu, and block it).
void FailMerge(MenuState& menu) {
  menu.rally_menu = kNoRallyMenu;
  menu.command_last = 0;
}

// The first item says what the toggle does now and is greyed while the
// race is armed; it is written only at a merge.
void LabelToggleItem(const RallyModule& m) {
  const MenuOps& ops = m.menu_ops;
  const char* text = m.race.state == kLegRunning ? kLeaveRaceText : kEnterRaceText;
  uint32_t state = m.race.state == kArmed ? kMenuItemGrayed : 0;
  ops.set_item_text(ops.context, m.menu.rally_menu, 0, text, state);
}

}  // namespace

uint32_t ScanMenuCommands(const MenuOps& ops, uintptr_t menu) {
  uint32_t largest = 0;
  uint32_t count = ItemCount(ops, menu);
  for (uint32_t position = 0; position < count; ++position) {
    MenuItem item = ReadItem(ops, menu, position);
    uint32_t c = item.submenu != 0 ? ScanMenuCommands(ops, item.submenu) : item.id;
    largest = Larger(largest, c);
  }
  return largest != 0 ? largest + 1 : 0;
}

uint32_t RenumberMenuCommands(const MenuOps& ops, uintptr_t menu, uint32_t base) {
  uint32_t largest = 0;
  uint32_t count = ItemCount(ops, menu);
  for (uint32_t position = 0; position < count; ++position) {
    MenuItem item = ReadItem(ops, menu, position);
    uint32_t c;
    if (item.submenu != 0) {
      c = RenumberMenuCommands(ops, item.submenu, base);
    } else {
      c = item.id + base;
      ops.set_item(ops.context, menu, position, item.state, c, item.submenu);
    }
    largest = Larger(largest, c);
  }
  return largest;
}

void MergeRallyMenu(RallyModule& m, uintptr_t window) {
  const MenuOps& ops = m.menu_ops;
  MenuState& menu = m.menu;
  if (ops.get_menu_bar == nullptr) return;  // bound without a window side
  uintptr_t bar = ops.get_menu_bar(ops.context, window);
  if (bar == 0) return;
  if (BarHoldsRallyMenu(ops, bar, menu.rally_menu)) return;
  menu.command_base = ScanMenuCommands(ops, bar);
  if (menu.command_base == 0) {
    // A range from 0 would take every command of the simulator's own.
    menu.command_last = 0;
    return;
  }
  menu.rally_menu = ops.load_menu(ops.context, m.frame.module_instance, kRallyMenuResource);
  if (menu.rally_menu == 0) {
    FailMerge(menu);
    return;
  }
  menu.command_last = RenumberMenuCommands(ops, menu.rally_menu, menu.command_base);
  if (!ops.append_popup(ops.context, bar, menu.rally_menu, kRallyMenuTitle)) {
    ops.destroy_menu(ops.context, menu.rally_menu);
    FailMerge(menu);
    return;
  }
  LabelToggleItem(m);
}
