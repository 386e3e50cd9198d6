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
