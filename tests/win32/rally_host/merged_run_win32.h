#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "tests/win32/check_report.h"
#include "tests/win32/rally_host/case_folder_win32.h"
#include "tests/win32/rally_host/rally_dll_run_win32.h"

// The simulator's menu bar as the cases give it: "&File" holding 101, 102
// and 215, "&Visualizza" holding 150 and 151. The largest identifier, 215,
// lies inside a popup, so the module numbers its commands 217 to 230.
HMENU MakeSimulatorMenuBar();
constexpr uint32_t kSimulatorCommand = 215;
constexpr uint32_t kCommandBase = 217;
constexpr uint32_t kCommandLast = 230;
constexpr int kSimulatorBarItems = 2;

inline uint32_t CommandOfSlot(uint32_t slot) {
  return kCommandBase + slot;
}

// A loaded RALLY.DLL past its start-up, with its popup merged into that bar:
// where every menu and dialog case begins. The course and score files are
// written into `folder` before Start.
class MergedRun {
 public:
  MergedRun(const std::string& case_name, const std::string& dll_path);

  // Creates the window with the bar, runs ModuleInit and the start-up delay
  // and paints the frame. False (with the failure reported) when the module
  // did not start or did not take over the window.
  bool Start(CheckReport& r, const std::string& prefix);
  // WM_COMMAND to the main window, as the simulator's menu sends it.
  LRESULT Command(uint32_t wparam);
  // Gives the window a fresh bar and paints the frame again; the old bar is
  // destroyed.
  void ReplaceMenuBar();
  HMENU bar() const { return bar_; }
  // ModuleDeinit, and the check that the DLL unloads.
  void Finish(CheckReport& r, const std::string& prefix);

  CaseFolder folder;
  DllRun run;

 private:
  HMENU bar_ = nullptr;
};

// The text of a menu item by position.
std::string MenuItemText(HMENU menu, int position);
