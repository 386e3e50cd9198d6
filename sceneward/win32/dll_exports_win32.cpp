// Sceneward.dll's four exports, called by the add-on's setup (VISEdit,
// AreaKill) and by its uninstaller (UninstInitialize at the start of an
// uninstallation, UninstUnInitialize at its end). All are __stdcall; the
// .def file and --kill-at give them their undecorated names.
#include "sceneward/win32/win32_api.h"

#include <cstdint>

#include "sceneward/exports/area_kill.h"
#include "sceneward/exports/sceneward_state.h"
#include "sceneward/exports/vis_edit.h"
#include "sceneward/win32/dll_exit_list_win32.h"
#include "sceneward/win32/file_system_win32.h"
#include "sceneward/win32/uninstall_host_win32.h"

namespace {

// The library's one state, zero when the DLL is loaded: its status is 0 and
// stays at a failure's code for every later call in the process. It is
// plain data in .bss, so it needs no constructor (the DLL runs no C runtime
// start-up code). The Win32 file system holds nothing, so each call uses
// its own.
ScenewardState library_state;

}  // namespace

extern "C" {

// Adds or replaces (remove zero) or removes (remove non-zero) the add-on's
// entry in the scenery library; returns the library's status.
int32_t WINAPI VISEdit(const char* library_path, const char* script_path, const char* folder,
                       int32_t remove) {
  Win32FileSystem fs;
  return VisEdit(library_state, fs, library_path, script_path, folder, remove);
}

// Removes the objects inside the edit script's areas from the scenery files
// of every area of the library, with `root_folder` for the "=:\=" prefix of
// their folders; the fourth argument has no effect. Returns the status.
int32_t WINAPI AreaKill(const char* library_path, const char* script_path, const char* root_folder,
                        int32_t unused) {
  Win32FileSystem fs;
  return AreaKill(library_state, fs, library_path, script_path, root_folder, unused);
}

// The uninstaller calls both hooks with three arguments (its window, its
// instance, a reserved word), and a __stdcall function must take from the
// stack exactly what its caller put there. Only the window is used: it owns
// the error boxes.
LONG WINAPI UninstInitialize(HWND window, HINSTANCE, LONG) {
  Win32FileSystem fs;
  Win32UninstallHost host(window);
  return RunUninstallHook(library_state, fs, host);
}

LONG WINAPI UninstUnInitialize(HWND, HINSTANCE, LONG) {
  return 0;
}

}  // extern "C"

// The DLL's entry point. Loading does nothing of its own; unloading runs
// the clean-ups that the C runtime's functions registered while in use.
extern "C" BOOL WINAPI DllEntry(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_DETACH) RunDllExitList();
  return TRUE;
}
