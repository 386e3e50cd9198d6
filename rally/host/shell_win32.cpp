#include "rally/host/shell_win32.h"

#include <windows.h>

namespace {

uintptr_t GetModule(void*, const char* name) {
  return reinterpret_cast<uintptr_t>(GetModuleHandleA(name));
}

uintptr_t FindWindowByClass(void*, const char* class_name) {
  return reinterpret_cast<uintptr_t>(FindWindowA(class_name, nullptr));
}

uintptr_t GetWindowProc(void*, uintptr_t window) {
  return static_cast<uintptr_t>(GetWindowLongA(reinterpret_cast<HWND>(window), GWL_WNDPROC));
}

uintptr_t SetWindowProc(void*, uintptr_t window, uintptr_t proc) {
  return static_cast<uintptr_t>(
      SetWindowLongA(reinterpret_cast<HWND>(window), GWL_WNDPROC, static_cast<LONG>(proc)));
}

// One more reference on our own file: the loader then never unmaps the code
// while the process lives, whatever the simulator unloads.
void KeepModuleLoaded(void*, uintptr_t module_instance) {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(reinterpret_cast<HMODULE>(module_instance), path, sizeof path);
  if (n > 0 && n < sizeof path) LoadLibraryA(path);
}

void* GlobalBlock(void*, uint32_t size) { return GlobalAlloc(GMEM_FIXED, size); }
void FreeGlobalBlock(void*, void* block) { GlobalFree(block); }

StdioPlatform g_files{};

}  // namespace

ShellOps MakeWin32Shell() {
  ShellOps ops{};
  ops.get_module_handle = GetModule;
  ops.find_window = FindWindowByClass;
  ops.get_window_proc = GetWindowProc;
  ops.set_window_proc = SetWindowProc;
  ops.keep_module_loaded = KeepModuleLoaded;
  return ops;
}

PlatformOps MakeWin32Platform() {
  PlatformOps ops = MakeStdioPlatform(&g_files);
  ops.alloc_block = GlobalBlock;
  ops.free_block = FreeGlobalBlock;
  return ops;
}
