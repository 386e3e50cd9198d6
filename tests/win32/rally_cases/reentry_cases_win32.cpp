// The real DLL while one of its dialogs runs a modal loop, and after its
// shutdown under another window hook: the engine ticks from a timer inside
// the score summary and the score key asks for a second summary, which opens
// only once the first has closed; a procedure hooked in on top of the
// module's keeps it in the chain after ModuleDeinit, and from then on the
// module's procedure only passes messages on, its code still mapped.
#include <vector>

#include "rally/commands/host_events.h"
#include "tests/win32/rally_host/call_expectations_win32.h"
#include "tests/win32/rally_host/dialog_driver_win32.h"
#include "tests/win32/rally_host/dll_cases_win32.h"
#include "tests/win32/rally_host/dll_import_recorder_win32.h"
#include "tests/win32/rally_host/host_window_win32.h"
#include "tests/win32/rally_host/merged_run_win32.h"

namespace {

constexpr int kSummaryDialog = 101;

std::string MenuLoopSeen() {
  std::string s;
  for (const HostMessage& m : HostMessages()) {
    if (m.message == WM_ENTERMENULOOP) s += "enter ";
    if (m.message == WM_EXITMENULOOP) s += "exit ";
  }
  return s;
}

LONG g_below_outer_hook = 0;

// Another add-on's hook, installed on top of the module's.
LRESULT CALLBACK OuterHook(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return CallWindowProcA(reinterpret_cast<WNDPROC>(g_below_outer_hook), window, message, wparam,
                         lparam);
}

}  // namespace

void CheckTicksInsideTheScoreSummary(CheckReport& r, const std::string& dll_path) {
  const std::string p = "ticks inside the summary: ";
  MergedRun m("ticks-inside-summary", dll_path);
  m.folder.Write(kCoursePath, SampleCourseFile());
  if (!m.Start(r, p)) return;
  HWND window = m.run.window();
  m.run.host.deliver_command = [window](uint32_t command) {
    SendMessageA(window, WM_COMMAND, command, 0);
  };
  size_t from = RecordedWinCalls().size();
  int64_t ticks_before = m.run.host.tick;
  int steps = 0;
  bool forced = false;
  {
    DialogDriver driver({[&](HWND) {
                           m.run.Ticks(12);
                           SimSendEvent(m.run.host, kEventScoreSummary);
                         },
                         [](HWND d) { ClickButton(d, IDOK); },
                         [](HWND d) { ClickButton(d, IDOK); }});
    m.Command(CommandOfSlot(1));
    steps = driver.steps_run();
    forced = driver.forced();
  }
  int summaries = 0;
  for (const WinCall& c : WinCallsTo("DialogBoxParamA", from)) {
    summaries += c.args[1] == kSummaryDialog && c.result == 1;
  }
  r.Expect(m.run.host.tick == ticks_before + 12, p + "the engine ticked inside the dialog's loop",
           std::to_string(m.run.host.tick - ticks_before) + " ticks");
  r.Expect(summaries == 2 && steps == 3 && !forced,
           p + "the score key's summary opened after the first, both closed with OK",
           std::to_string(summaries) + " summaries closed with 1, " + std::to_string(steps) +
               " steps" + (forced ? ", closed by force" : ""));
  r.Expect(MenuLoopSeen() == "enter exit enter exit ",
           p + "one summary at a time: each menu loop ends before the next begins", MenuLoopSeen());
  m.Finish(r, p);
}

void CheckShutdownUnderAnotherHook(CheckReport& r, const std::string& dll_path) {
  const std::string p = "shutdown under another hook: ";
  MergedRun m("shutdown-under-hook", dll_path);
  m.folder.Write(kCoursePath, SampleCourseFile());
  if (!m.Start(r, p)) return;
  HWND window = m.run.window();
  g_below_outer_hook =
      SetWindowLongA(window, GWL_WNDPROC, static_cast<LONG>(reinterpret_cast<LONG_PTR>(OuterHook)));
  m.run.Ticks(m.run.host.prompt_ticks + 1);
  m.run.Deinit();

  const std::vector<uint8_t> state(m.run.host.state, m.run.host.state + sizeof m.run.host.state);
  ClearHostMessages();
  m.Command(kCommandLast);  // a start position
  HMENU fresh = MakeSimulatorMenuBar();
  SetMenu(window, fresh);
  SendMessageA(window, WM_NCPAINT, 1, 0);
  bool passed_on = !HostMessages().empty() && HostMessages().back().message == WM_COMMAND &&
                   HostMessages().back().wparam == kCommandLast;
  r.Expect(passed_on, p + "command 230 after shutdown goes on to the simulator's procedure",
           "the host's procedure did not see it");
  r.Expect(
      std::vector<uint8_t>(m.run.host.state, m.run.host.state + sizeof m.run.host.state) == state,
      p + "and writes no start position", "sim_state changed");
  r.Expect(GetMenuItemCount(fresh) == kSimulatorBarItems, p + "a repaint merges no popup",
           std::to_string(GetMenuItemCount(fresh)) + " items in the new bar");

  bool unloaded = m.run.Unload();  // the window goes first, through both hooks
  HMODULE still = GetModuleHandleA("RALLY.DLL");
  r.Expect(!unloaded && still != nullptr,
           p + "the DLL stays mapped after FreeLibrary while its procedure is in the chain",
           "RALLY.DLL was unmapped");
  if (still != nullptr) FreeLibrary(still);  // the module's own extra reference
  r.Expect(GetModuleHandleA("RALLY.DLL") == nullptr,
           p + "one more FreeLibrary, the module's own reference, unmaps it", "still mapped");
}
