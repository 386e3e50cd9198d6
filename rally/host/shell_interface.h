#pragma once

#include <cstdint>

// The window side of the module, kept behind a table of operations so that
// the core decides the order of steps and the Win32 glue only carries them
// out. Handles and window procedures travel as plain integers.
struct ShellOps {
  void* context;
  // GetModuleHandleA(name)
  uintptr_t (*get_module_handle)(void* context, const char* name);
  // FindWindowA(class_name, no title); 0 when there is no such window
  uintptr_t (*find_window)(void* context, const char* class_name);
  // GetWindowLongA(window, GWL_WNDPROC)
  uintptr_t (*get_window_proc)(void* context, uintptr_t window);
  // SetWindowLongA(window, GWL_WNDPROC, proc); returns the previous value, 0 on failure
  uintptr_t (*set_window_proc)(void* context, uintptr_t window, uintptr_t proc);
  // WM_ENTERMENULOOP (enter) or WM_EXITMENULOOP, wParam 0, lParam 0, to the window
  void (*send_menu_loop)(void* context, uintptr_t window, bool enter);
  // Runs dialog resource `id` modally over the main window; its result, -1 on failure
  int32_t (*run_dialog)(void* context, int32_t id);
  // The simulator's registry value "ProductID" (HKEY_LOCAL_MACHINE, key
  // "SOFTWARE\Microsoft\Microsoft Games\Flight Simulator\6.1"), whatever its
  // type, read into a 30-byte buffer, then copied into `out` and terminated
  // (cut to size - 1 characters). False when the key or the value is missing
  // or the value does not fit in 30 bytes.
  bool (*read_product_code)(void* context, char* out, uint32_t size);
  // Keeps the module's code mapped until the process ends, so that a routine
  // the host still holds can run after the module was shut down.
  void (*keep_module_loaded)(void* context, uintptr_t module_instance);
};

// The main window's menus, as the merge of the module's popup needs them.
// Menus are handles, items are read and written by position.
struct MenuOps {
  void* context;
  // GetMenu(window); 0 when the window has no menu bar
  uintptr_t (*get_menu_bar)(void* context, uintptr_t window);
  // GetMenuState(menu, id, MF_BYCOMMAND), submenus searched too;
  // 0xFFFFFFFF when no item has that identifier
  uint32_t (*get_menu_state)(void* context, uintptr_t menu, uint32_t id);
  // GetMenuItemCount(menu); -1 for a menu that is not there
  int32_t (*get_item_count)(void* context, uintptr_t menu);
  // GetMenuItemInfoA by position, mask MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
  // `submenu` is 0 for an item that opens none
  bool (*get_item)(void* context, uintptr_t menu, uint32_t position, uint32_t* state, uint32_t* id,
                   uintptr_t* submenu);
  // SetMenuItemInfoA by position with the same mask
  bool (*set_item)(void* context, uintptr_t menu, uint32_t position, uint32_t state, uint32_t id,
                   uintptr_t submenu);
  // SetMenuItemInfoA by position, mask MIIM_STATE | MIIM_TYPE, type MFT_STRING
  bool (*set_item_text)(void* context, uintptr_t menu, uint32_t position, const char* text,
                        uint32_t state);
  // LoadMenuA(instance, MAKEINTRESOURCE(resource)); 0 on failure
  uintptr_t (*load_menu)(void* context, uintptr_t instance, uint32_t resource);
  // AppendMenuA(bar, MF_POPUP, popup, title)
  bool (*append_popup)(void* context, uintptr_t bar, uintptr_t popup, const char* title);
  // DestroyMenu(menu)
  void (*destroy_menu)(void* context, uintptr_t menu);
};
