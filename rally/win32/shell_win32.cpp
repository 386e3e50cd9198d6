#include "rally/win32/shell_win32.h"

#include <windows.h>

#include "common/win32/file_moves_win32.h"
#include "rally/host/stdio_platform.h"
#include "rally/win32/dialogs_win32.h"

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

void SendMenuLoop(void*, uintptr_t window, bool enter) {
  SendMessageA(reinterpret_cast<HWND>(window), enter ? WM_ENTERMENULOOP : WM_EXITMENULOOP, 0, 0);
}

int32_t RunDialog(void*, int32_t id) {
  return RunModuleDialog(id);
}

// The simulator's product code, for the score summary. The value is read
// into 30 bytes whatever its type; it need not end in a NUL, so the text is
// terminated here at the length the registry gave.
bool ReadProductCode(void*, char* out, uint32_t size) {
  constexpr DWORD kValueBytes = 30;
  if (size == 0) return false;
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                    "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\6.1", 0, KEY_READ,
                    &key) != ERROR_SUCCESS) {
    return false;
  }
  BYTE value[kValueBytes + 1];
  DWORD length = kValueBytes;
  LONG status = RegQueryValueExA(key, "ProductID", nullptr, nullptr, value, &length);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || length > kValueBytes) return false;
  value[length] = '\0';
  DWORD n = 0;
  while (n + 1 < size && value[n] != '\0') {
    out[n] = static_cast<char>(value[n]);
    ++n;
  }
  out[n] = '\0';
  return true;
}

// One more reference on our own file: the loader then never unmaps the code
// while the process lives, whatever the simulator unloads.
void KeepModuleLoaded(void*, uintptr_t module_instance) {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(reinterpret_cast<HMODULE>(module_instance), path, sizeof path);
  if (n > 0 && n < sizeof path) LoadLibraryA(path);
}

void* GlobalBlock(void*, uint32_t size) {
  return GlobalAlloc(GMEM_FIXED, size);
}
void FreeGlobalBlock(void*, void* block) {
  GlobalFree(block);
}

// MoveFileExA replaces in one step, but Windows 9x only has a stub of it:
// there the old file is moved aside and kept until the new one is in place.
// It is looked up rather than imported, so the DLL loads wherever it is missing.
typedef BOOL(WINAPI* MoveFileExFn)(LPCSTR, LPCSTR, DWORD);

ReplaceOutcome ReplaceWholeFile(void*, const char* from, const char* to) {
  MoveFileExFn move_file_ex = reinterpret_cast<MoveFileExFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "MoveFileExA")));
  if (move_file_ex != nullptr) {
    if (move_file_ex(from, to, MOVEFILE_REPLACE_EXISTING)) return ReplaceOutcome::kReplaced;
    if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return ReplaceOutcome::kUnchanged;
  }
  return ReplaceByMoves(Win32FileMoves(), from, to);
}

void RemoveWholeFile(void*, const char* path) {
  DeleteFileA(path);
}

StdioPlatform g_files{};

}  // namespace

ShellOps MakeWin32Shell() {
  ShellOps ops{};
  ops.get_module_handle = GetModule;
  ops.find_window = FindWindowByClass;
  ops.get_window_proc = GetWindowProc;
  ops.set_window_proc = SetWindowProc;
  ops.send_menu_loop = SendMenuLoop;
  ops.run_dialog = RunDialog;
  ops.read_product_code = ReadProductCode;
  ops.keep_module_loaded = KeepModuleLoaded;
  return ops;
}

PlatformOps MakeWin32Platform() {
  PlatformOps ops = MakeStdioPlatform(&g_files);
  ops.alloc_block = GlobalBlock;
  ops.free_block = FreeGlobalBlock;
  ops.replace_file = ReplaceWholeFile;
  ops.remove_file = RemoveWholeFile;
  return ops;
}
