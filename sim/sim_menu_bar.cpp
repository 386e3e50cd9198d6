#include "sim/sim_menu_bar.h"

#include "rally/module/main_window_messages.h"
#include "rally/state/module.h"
#include "rally/ui/menu_merge.h"
#include "sim/sim_host.h"

namespace {

constexpr uint32_t kPopupFlag = 0x0010;  // MF_POPUP, in what GetMenuState answers

SimMenuBar& Menus(void* context) {
  return *static_cast<SimMenuBar*>(context);
}

void Log(SimMenuBar& menus, const char* op, std::vector<int64_t> args, std::string text = {}) {
  if (menus.host == nullptr) return;
  SimCall& call = SimLogCall(*menus.host, op);
  call.args = std::move(args);
  call.text = std::move(text);
}

SimMenuItem Command(const char* text, uint32_t id) {
  SimMenuItem item;
  item.text = text;
  item.id = id;
  return item;
}

SimMenuItem Separator() {
  return SimMenuItem{};
}

// A popup item carries its submenu's handle as its identifier, as USER32
// gives it to a popup appended or loaded from a resource.
SimMenuItem Popup(const char* text, uintptr_t submenu) {
  SimMenuItem item;
  item.text = text;
  item.id = static_cast<uint32_t>(submenu);
  item.submenu = submenu;
  return item;
}

uintptr_t MakeMenu(SimMenuBar& menus, const std::vector<SimMenuItem>& items) {
  uintptr_t handle = SimCreateMenu(menus);
  for (const SimMenuItem& item : items) SimAppendItem(menus, handle, item);
  return handle;
}

// Menu 106 as the module's resource holds it: every item carries its slot.
uintptr_t MakeRallyMenu(SimMenuBar& menus) {
  uintptr_t positions = MakeMenu(menus, {
                                            Command("&1. Ralliest Base", 6),
                                            Command("&2. Kestrin's Municipal", 7),
                                            Command("&3. AFB", 8),
                                            Command("&4. Sidelake Field", 9),
                                            Command("&5. Trackers Best Field", 10),
                                            Command("&6. Daventi's Field", 11),
                                            Command("&7. Mountain View Airport", 12),
                                            Command("&8. Seashore Island", 13),
                                        });
  return MakeMenu(menus, {
                             Command("&Entra in gara", 0),
                             Command("Punte&ggio...\tCTRL-G", 1),
                             Command("&Ripeti Messaggio\tCTRL-R", 2),
                             Separator(),
                             Command("&Direzione\tCTRL-H", 3),
                             Popup("&Posizioni", positions),
                             Separator(),
                             Command("&Informazioni su...", 4),
                         });
}

const SimMenuItem* FindByCommand(const SimMenuBar& menus, uintptr_t menu, uint32_t id) {
  const SimMenu* m = SimFindMenu(menus, menu);
  if (m == nullptr) return nullptr;
  for (const SimMenuItem& item : m->items) {
    if (item.id == id) return &item;
    if (item.submenu == 0) continue;
    if (const SimMenuItem* inner = FindByCommand(menus, item.submenu, id)) return inner;
  }
  return nullptr;
}

SimMenuItem* ItemAt(SimMenuBar& menus, uintptr_t menu, uint32_t position) {
  SimMenu* m = SimFindMenu(menus, menu);
  if (m == nullptr || position >= m->items.size()) return nullptr;
  return &m->items[position];
}

uintptr_t GetMenuBar(void* c, uintptr_t window) {
  SimMenuBar& menus = Menus(c);
  return window == menus.window ? menus.bar : 0;
}

uint32_t GetMenuState(void* c, uintptr_t menu, uint32_t id) {
  const SimMenuItem* item = FindByCommand(Menus(c), menu, id);
  if (item == nullptr) return kMenuItemNotFound;
  return item->submenu != 0 ? item->state | kPopupFlag : item->state;
}

int32_t GetItemCount(void* c, uintptr_t menu) {
  const SimMenu* m = SimFindMenu(Menus(c), menu);
  return m != nullptr ? static_cast<int32_t>(m->items.size()) : -1;
}

bool GetItem(void* c, uintptr_t menu, uint32_t position, uint32_t* state, uint32_t* id,
             uintptr_t* submenu) {
  const SimMenuItem* item = ItemAt(Menus(c), menu, position);
  if (item == nullptr) return false;
  *state = item->state;
  *id = item->id;
  *submenu = item->submenu;
  return true;
}

bool SetItem(void* c, uintptr_t menu, uint32_t position, uint32_t state, uint32_t id,
             uintptr_t submenu) {
  SimMenuBar& menus = Menus(c);
  SimMenuItem* item = ItemAt(menus, menu, position);
  Log(menus, "SetMenuItemInfoA",
      {static_cast<int64_t>(menu), position, state, id, item != nullptr ? 1 : 0});
  if (item == nullptr) return false;
  item->state = state;
  item->id = id;
  item->submenu = submenu;
  return true;
}

bool SetItemText(void* c, uintptr_t menu, uint32_t position, const char* text, uint32_t state) {
  SimMenuBar& menus = Menus(c);
  SimMenuItem* item = ItemAt(menus, menu, position);
  Log(menus, "SetMenuItemInfoA",
      {static_cast<int64_t>(menu), position, state, item != nullptr ? 1 : 0}, text);
  if (item == nullptr) return false;
  item->text = text;
  item->state = state;
  return true;
}

uintptr_t LoadMenu(void* c, uintptr_t instance, uint32_t resource) {
  SimMenuBar& menus = Menus(c);
  bool found =
      !menus.refuse_load && instance == menus.module_instance && resource == kRallyMenuResource;
  uintptr_t menu = found ? MakeRallyMenu(menus) : 0;
  Log(menus, "LoadMenuA", {static_cast<int64_t>(instance), resource, static_cast<int64_t>(menu)});
  return menu;
}

bool AppendPopup(void* c, uintptr_t bar, uintptr_t popup, const char* title) {
  SimMenuBar& menus = Menus(c);
  bool appended = !menus.refuse_append && SimFindMenu(menus, bar) != nullptr &&
                  SimFindMenu(menus, popup) != nullptr;
  if (appended) SimAppendItem(menus, bar, Popup(title, popup));
  Log(menus, "AppendMenuA",
      {static_cast<int64_t>(bar), static_cast<int64_t>(popup), appended ? 1 : 0}, title);
  return appended;
}

// As USER32 does, the submenus go with the menu.
void DestroyWithSubmenus(SimMenuBar& menus, uintptr_t handle) {
  SimMenu* m = SimFindMenu(menus, handle);
  if (m == nullptr) return;
  m->destroyed = true;
  std::vector<SimMenuItem> items = m->items;
  for (const SimMenuItem& item : items) {
    if (item.submenu != 0) DestroyWithSubmenus(menus, item.submenu);
  }
}

void DestroyMenu(void* c, uintptr_t menu) {
  SimMenuBar& menus = Menus(c);
  Log(menus, "DestroyMenu", {static_cast<int64_t>(menu)});
  DestroyWithSubmenus(menus, menu);
}

MenuOps SimMenuOps(SimMenuBar& menus) {
  MenuOps ops{};
  ops.context = &menus;
  ops.get_menu_bar = GetMenuBar;
  ops.get_menu_state = GetMenuState;
  ops.get_item_count = GetItemCount;
  ops.get_item = GetItem;
  ops.set_item = SetItem;
  ops.set_item_text = SetItemText;
  ops.load_menu = LoadMenu;
  ops.append_popup = AppendPopup;
  ops.destroy_menu = DestroyMenu;
  return ops;
}

}  // namespace

void BindSimMenuBar(RallyModule& m, SimMenuBar& menus, SimHost& host) {
  menus.host = &host;
  menus.window = host.window.handle;
  menus.module_instance = host.module_handle;
  SimGiveWindowMenuBar(menus, kSimMenuBarLargestId, true);
  m.menu_ops = SimMenuOps(menus);
}

uintptr_t SimGiveWindowMenuBar(SimMenuBar& menus, uint32_t largest_id, bool inside_popup) {
  uintptr_t flights =
      MakeMenu(menus, {Command("&Open Flight...", 101), Command("&Save Flight...", 102),
                       Separator(), Command("E&xit", 109)});
  uintptr_t world = MakeMenu(menus, {Command("&Go to Airport...", 121), Command("&Weather...", 125),
                                     Command("&Time and Season...", 126)});
  uintptr_t views =
      MakeMenu(menus, {Command("&New View", 141), Separator(), Command("&Full Screen", 148)});
  uintptr_t options = MakeMenu(menus, {Command("&Pause", 161), Command("&Sound", 164)});
  uintptr_t help =
      MakeMenu(menus, {Command("&Contents", 181), Separator(), Command("&About...", 189)});
  if (inside_popup) SimAppendItem(menus, options, Command("P&references...", largest_id));
  uintptr_t bar =
      MakeMenu(menus, {Popup("&Flights", flights), Popup("&World", world), Popup("&Views", views),
                       Popup("&Options", options), Popup("&Help", help)});
  if (!inside_popup) SimAppendItem(menus, bar, Command("&Map!", largest_id));
  menus.bar = bar;
  return bar;
}

uintptr_t SimCreateMenu(SimMenuBar& menus) {
  SimMenu menu;
  menu.handle = menus.next_handle;
  menus.next_handle += 0x10;
  menus.menus.push_back(menu);
  return menu.handle;
}

void SimAppendItem(SimMenuBar& menus, uintptr_t menu, const SimMenuItem& item) {
  if (SimMenu* m = SimFindMenu(menus, menu)) m->items.push_back(item);
}

SimMenu* SimFindMenu(SimMenuBar& menus, uintptr_t handle) {
  for (SimMenu& m : menus.menus) {
    if (m.handle == handle && !m.destroyed) return &m;
  }
  return nullptr;
}

const SimMenu* SimFindMenu(const SimMenuBar& menus, uintptr_t handle) {
  for (const SimMenu& m : menus.menus) {
    if (m.handle == handle && !m.destroyed) return &m;
  }
  return nullptr;
}

void SimPaintWindowFrame(RallyModule& m, const SimHost& host) {
  if (host.window.window_proc != m.routines.main_window_proc) return;
  HandleMainWindowMessage(m, MainWindowMessage::kNonClientPaint, host.window.handle, 0);
}

const SimMenu* SimRallyPopup(const SimMenuBar& menus) {
  const SimMenu* bar = SimFindMenu(menus, menus.bar);
  if (bar == nullptr) return nullptr;
  for (const SimMenuItem& item : bar->items) {
    if (item.submenu != 0 && item.text == kRallyMenuTitle) return SimFindMenu(menus, item.submenu);
  }
  return nullptr;
}

uint32_t SimMenuCommand(const SimMenuBar& menus, uint32_t slot) {
  const SimMenu* popup = SimRallyPopup(menus);
  if (popup == nullptr || popup->items.empty()) return 0;
  return popup->items[0].id + slot;
}
