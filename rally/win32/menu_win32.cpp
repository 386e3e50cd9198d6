#include "rally/win32/menu_win32.h"

#include <windows.h>

#include <cstring>

namespace {

// The MENUITEMINFOA of Windows 95 and NT 4 ends before hbmpItem; newer
// headers declare the longer structure, which those systems refuse.
constexpr UINT kMenuItemInfoSize = 44;
static_assert(sizeof(MENUITEMINFOA) >= kMenuItemInfoSize, "the 44 bytes lead the structure");

constexpr UINT kItemMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU;

HMENU Menu(uintptr_t handle) {
  return reinterpret_cast<HMENU>(handle);
}

MENUITEMINFOA ItemInfo(UINT mask) {
  MENUITEMINFOA info;
  std::memset(&info, 0, sizeof info);
  info.cbSize = kMenuItemInfoSize;
  info.fMask = mask;
  return info;
}

uintptr_t GetMenuBar(void*, uintptr_t window) {
  return reinterpret_cast<uintptr_t>(GetMenu(reinterpret_cast<HWND>(window)));
}

uint32_t GetStateByCommand(void*, uintptr_t menu, uint32_t id) {
  return GetMenuState(Menu(menu), id, MF_BYCOMMAND);
}

int32_t GetItemCount(void*, uintptr_t menu) {
  return GetMenuItemCount(Menu(menu));
}

bool GetItem(void*, uintptr_t menu, uint32_t position, uint32_t* state, uint32_t* id,
             uintptr_t* submenu) {
  MENUITEMINFOA info = ItemInfo(kItemMask);
  if (!GetMenuItemInfoA(Menu(menu), position, TRUE, &info)) return false;
  *state = info.fState;
  *id = info.wID;
  *submenu = reinterpret_cast<uintptr_t>(info.hSubMenu);
  return true;
}

bool SetItem(void*, uintptr_t menu, uint32_t position, uint32_t state, uint32_t id,
             uintptr_t submenu) {
  MENUITEMINFOA info = ItemInfo(kItemMask);
  info.fState = state;
  info.wID = id;
  info.hSubMenu = Menu(submenu);
  return SetMenuItemInfoA(Menu(menu), position, TRUE, &info) != 0;
}

bool SetItemText(void*, uintptr_t menu, uint32_t position, const char* text, uint32_t state) {
  MENUITEMINFOA info = ItemInfo(MIIM_STATE | MIIM_TYPE);
  info.fType = MFT_STRING;
  info.fState = state;
  info.dwTypeData = const_cast<char*>(text);
  info.cch = static_cast<UINT>(std::strlen(text));
  return SetMenuItemInfoA(Menu(menu), position, TRUE, &info) != 0;
}

uintptr_t LoadModuleMenu(void*, uintptr_t instance, uint32_t resource) {
  HINSTANCE module = reinterpret_cast<HINSTANCE>(instance);
  return reinterpret_cast<uintptr_t>(LoadMenuA(module, MAKEINTRESOURCEA(resource)));
}

bool AppendPopup(void*, uintptr_t bar, uintptr_t popup, const char* title) {
  return AppendMenuA(Menu(bar), MF_POPUP, static_cast<UINT_PTR>(popup), title) != 0;
}

void DestroyPopup(void*, uintptr_t menu) {
  DestroyMenu(Menu(menu));
}

}  // namespace

MenuOps MakeWin32MenuOps() {
  MenuOps ops{};
  ops.get_menu_bar = GetMenuBar;
  ops.get_menu_state = GetStateByCommand;
  ops.get_item_count = GetItemCount;
  ops.get_item = GetItem;
  ops.set_item = SetItem;
  ops.set_item_text = SetItemText;
  ops.load_menu = LoadModuleMenu;
  ops.append_popup = AppendPopup;
  ops.destroy_menu = DestroyPopup;
  return ops;
}
