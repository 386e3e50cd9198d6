#include "tests/win32/rally_host/merged_run_win32.h"

#include "tests/win32/rally_host/call_expectations_win32.h"
#include "tests/win32/rally_host/host_window_win32.h"

namespace {

// The module's start-up delay and the engine's first tick.
constexpr int kStartUpTicks = 32;

HMENU Popup(std::initializer_list<std::pair<UINT, const char*>> items) {
  HMENU popup = CreatePopupMenu();
  for (const auto& item : items) AppendMenuA(popup, MF_STRING, item.first, item.second);
  return popup;
}

}  // namespace

HMENU MakeSimulatorMenuBar() {
  HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP,
              reinterpret_cast<UINT_PTR>(Popup(
                  {{101, "&Nuovo volo"}, {102, "&Salva volo"}, {kSimulatorCommand, "&Esci"}})),
              "&File");
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(Popup({{150, "&Cabina"}, {151, "&Torre"}})),
              "&Visualizza");
  return bar;
}

MergedRun::MergedRun(const std::string& case_name, const std::string& dll_path)
    : folder(case_name), run(dll_path) {}

bool MergedRun::Start(CheckReport& r, const std::string& p) {
  run.BindHost(true);
  bar_ = MakeSimulatorMenuBar();
  SetMenu(run.window(), bar_);
  if (!r.Expect(run.Init() == 1, p + "ModuleInit returns 1", DescribeSimCalls(run.host))) {
    return false;
  }
  run.Ticks(kStartUpTicks);
  if (!r.Expect(run.Contains(static_cast<uintptr_t>(InstalledWindowProc(run.window()))),
                p + "the module's procedure is installed on FS98MAIN",
                "GetWindowLongA(GWL_WNDPROC) = " +
                    Hex(static_cast<uintptr_t>(InstalledWindowProc(run.window()))))) {
    return false;
  }
  SendMessageA(run.window(), WM_NCPAINT, 1, 0);
  ClearHostMessages();
  return true;
}

LRESULT MergedRun::Command(uint32_t wparam) {
  return SendMessageA(run.window(), WM_COMMAND, wparam, 0);
}

void MergedRun::ReplaceMenuBar() {
  HMENU old = bar_;
  bar_ = MakeSimulatorMenuBar();
  SetMenu(run.window(), bar_);
  DestroyMenu(old);
  SendMessageA(run.window(), WM_NCPAINT, 1, 0);
}

void MergedRun::Finish(CheckReport& r, const std::string& p) {
  // A prompt still playing at shutdown keeps the module mapped for its
  // completion routine; the case lets the last one play out first.
  run.Ticks(run.host.prompt_ticks + 1);
  run.Deinit();
  r.Expect(run.Unload(), p + "RALLY.DLL unloaded after FreeLibrary",
           "GetModuleHandleA(\"RALLY.DLL\") still finds it");
}

std::string MenuItemText(HMENU menu, int position) {
  char text[128];
  int n = GetMenuStringA(menu, position, text, sizeof text, MF_BYPOSITION);
  return std::string(text, n > 0 ? static_cast<size_t>(n) : 0);
}
