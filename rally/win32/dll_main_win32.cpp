// RALLY.DLL's exports: the Linkage record and the ImportTable, through which
// the simulator binds to the module and calls its init and deinit.
#include <windows.h>

#include "rally/host/import_table.h"
#include "rally/module/entry_points.h"
#include "rally/module/lifecycle.h"
#include "rally/win32/fs98_binding_win32.h"
#include "rally/win32/main_window_proc_win32.h"
#include "rally/win32/menu_win32.h"
#include "rally/win32/shell_win32.h"

namespace {

int32_t RALLY_STDCALL ModuleInitExport();
void RALLY_STDCALL ModuleDeinitExport();

}  // namespace

extern "C" {
LinkageRecord Linkage = {0x1000, ModuleInitExport, ModuleDeinitExport, {0, 0, 0}};
ImportEntry ImportTable[kImportEntries] = {
    {fs98::kServicesTable, 0},
    {fs98::kSimState, 0},
    {fs98::kGeoTable, 0},
    {fs98::kCallbackTable, 0},
    {fs98::kTextTable, 0},
    {fs98::kSoundSettingsTable, 0},
    {0, 0},
};
}

static_assert(sizeof(LinkageRecord) == 24, "Linkage is six 32-bit words");
static_assert(sizeof(ImportTable) == 56, "ImportTable is seven 8-byte entries");

namespace {

int32_t RALLY_STDCALL ModuleInitExport() {
  RallyModule& m = LoadedModule();
  if (!BindFs98Host(ImportTable, &m.host)) return 0;
  m.shell = MakeWin32Shell();
  m.menu_ops = MakeWin32MenuOps();
  m.platform = MakeWin32Platform();
  m.routines = EntryRoutines(reinterpret_cast<uintptr_t>(&MainWindowProc));
  return ModuleInit(m);
}

void RALLY_STDCALL ModuleDeinitExport() {
  RallyModule& m = LoadedModule();
  if (m.host.register_callback == nullptr) return;  // never bound: nothing to undo
  ModuleDeinit(m);
}

}  // namespace

// The DLL's entry point. The module does its work in ModuleInit, called by
// the simulator once it has filled the ImportTable, so there is nothing to
// do on attach or detach.
extern "C" BOOL WINAPI DllEntry(HINSTANCE, DWORD, LPVOID) {
  return TRUE;
}
