#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "rally/host/import_table.h"
#include "sim/sim_host.h"

// One load of the real RALLY.DLL, driven the way the simulator drives it:
// load, bind the ImportTable to a fresh stand-in host, ModuleInit, ticks,
// ModuleDeinit, unload. The DLL's window and heap calls are recorded from
// the load on (see dll_import_recorder_win32.h).
class DllRun {
 public:
  // LoadLibraryA and the two exports; throws std::runtime_error.
  explicit DllRun(const std::string& dll_path);
  // Whatever a failed case left behind is undone, so that the next case
  // starts clean: no host served, no window, no DLL.
  ~DllRun();
  DllRun(const DllRun&) = delete;
  DllRun& operator=(const DllRun&) = delete;

  bool Contains(uintptr_t address) const { return address >= begin_ && address < end_; }
  HMODULE module() const { return module_; }
  // The Linkage record's six words and the ImportTable, as exported.
  uint32_t LinkageWord(int index) const;
  const ImportEntry* ImportTable() const { return import_table_; }

  // Fills the ImportTable with the stand-in host's tables and state block,
  // and creates the "FS98MAIN" window unless told not to.
  void BindHost(bool with_window);
  HWND window() const { return window_; }

  int32_t Init();
  void Ticks(int count);
  void Deinit();
  // Stops serving the host, takes the window down and frees the library.
  // True when "RALLY.DLL" is no longer loaded afterwards.
  bool Unload();

  SimHost host;

 private:
  HMODULE module_ = nullptr;
  uintptr_t begin_ = 0;
  uintptr_t end_ = 0;
  const uint8_t* linkage_ = nullptr;
  ImportEntry* import_table_ = nullptr;
  HWND window_ = nullptr;
};

// The window procedure installed on a window now, as GetWindowLongA says.
LONG InstalledWindowProc(HWND window);
