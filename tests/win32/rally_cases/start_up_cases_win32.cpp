// The module as the simulator starts it for real: the exported records,
// a complete start-up, the hand-over to the engine's tick and shutdown.
#include <algorithm>

#include "rally/host/host_interface.h"
#include "tests/win32/rally_host/call_expectations_win32.h"
#include "tests/win32/rally_host/case_folder_win32.h"
#include "tests/win32/rally_host/dll_cases_win32.h"
#include "tests/win32/rally_host/dll_import_recorder_win32.h"
#include "tests/win32/rally_host/host_window_win32.h"
#include "tests/win32/rally_host/rally_dll_run_win32.h"

namespace {

constexpr uint32_t kExpectedModuleIds[kImportEntries] = {fs98::kServicesTable,
                                                         fs98::kSimState,
                                                         fs98::kGeoTable,
                                                         fs98::kCallbackTable,
                                                         fs98::kTextTable,
                                                         fs98::kSoundSettingsTable,
                                                         0};

std::string DescribeImportTable(const ImportEntry* table) {
  std::string s;
  for (int i = 0; i < kImportEntries; ++i) {
    s += (i ? " " : "") + std::string("{") + Hex(table[i].module_id) + ", " +
         Hex(table[i].module_pointer) + "}";
  }
  return s;
}

void CheckUnloaded(CheckReport& r, const std::string& prefix, DllRun& run) {
  r.Expect(run.Unload(), prefix + "RALLY.DLL unloaded after FreeLibrary",
           "GetModuleHandleA(\"RALLY.DLL\") still finds it");
}

// Every call of these to the window side, since index `from`.
std::vector<WinCall> WindowCallsSince(size_t from) {
  std::vector<WinCall> found;
  const std::vector<WinCall>& calls = RecordedWinCalls();
  for (size_t i = from; i < calls.size(); ++i) {
    const std::string& f = calls[i].function;
    if (f == "GetModuleHandleA" || f == "FindWindowA" || f == "GetWindowLongA" ||
        f == "SetWindowLongA") {
      found.push_back(calls[i]);
    }
  }
  return found;
}

bool IsWndProcCall(const WinCall& c, const char* function, HWND window) {
  return c.function == function && c.args.size() >= 2 &&
         c.args[0] == reinterpret_cast<uintptr_t>(window) &&
         c.args[1] == static_cast<uintptr_t>(GWL_WNDPROC);
}

// GetModuleHandleA("RALLY.DLL"), FindWindowA("FS98MAIN", NULL),
// GetWindowLongA(window, GWL_WNDPROC) answered with the host's procedure,
// SetWindowLongA(window, GWL_WNDPROC, a procedure inside the DLL).
bool IsTheHookSequence(const std::vector<WinCall>& c, const DllRun& run) {
  return c.size() == 4 && c[0].function == "GetModuleHandleA" && c[0].texts[0] == "RALLY.DLL" &&
         c[0].result == reinterpret_cast<uintptr_t>(run.module()) &&
         c[1].function == "FindWindowA" && c[1].texts[0] == "FS98MAIN" && c[1].args[1] == 0 &&
         c[1].result == reinterpret_cast<uintptr_t>(run.window()) &&
         IsWndProcCall(c[2], "GetWindowLongA", run.window()) &&
         c[2].result == static_cast<uintptr_t>(HostWindowProcValue()) &&
         IsWndProcCall(c[3], "SetWindowLongA", run.window()) && run.Contains(c[3].args[2]);
}

// The two routines ModuleInit registered: R1 (kind 5) and R2 (kind 11).
struct StartedRoutines {
  uintptr_t startup_tick;
  uintptr_t host_event;
};

StartedRoutines CheckRegistrations(CheckReport& r, const std::string& prefix, const DllRun& run) {
  const std::vector<SimCall>& c = run.host.calls;
  bool shape = c.size() == 2 && c[0].op == "register_callback" && c[0].args[0] == kCallbackTick &&
               c[1].op == "register_callback" && c[1].args[0] == kCallbackHostEvent;
  StartedRoutines routines{shape ? c[0].routine : 0, shape ? c[1].routine : 0};
  r.Expect(shape && run.Contains(routines.startup_tick) && run.Contains(routines.host_event) &&
               routines.startup_tick != routines.host_event,
           prefix + "register_callback(5, R1) then register_callback(11, R2), both inside the DLL",
           DescribeSimCalls(run.host));
  return routines;
}

std::string WinCallLine(const char* what, size_t from) {
  return std::string(what) + ": " + DescribeWinCalls(RecordedWinCalls(), from);
}

void CheckStartUp(CheckReport& r, const std::string& p, DllRun& run, int32_t init_result) {
  r.Expect(init_result == 1, p + "ModuleInit returns 1",
           "it returned " + std::to_string(init_result));
  std::vector<WinCall> window_calls = WindowCallsSince(0);
  r.Expect(IsTheHookSequence(window_calls, run),
           p + "GetModuleHandleA(\"RALLY.DLL\"), FindWindowA(\"FS98MAIN\", NULL), "
               "GetWindowLongA, SetWindowLongA in that order",
           DescribeWinCalls(window_calls));
  LONG installed = InstalledWindowProc(run.window());
  r.Expect(run.Contains(static_cast<uintptr_t>(installed)),
           p + "the window's procedure lies inside RALLY.DLL",
           "GetWindowLongA answers " + Hex(static_cast<uintptr_t>(installed)));
}

void CheckMessagePassesThrough(CheckReport& r, const std::string& p, const DllRun& run) {
  int probes_before = ProbesReceived();
  size_t calls_before = run.host.calls.size();
  LRESULT answer = SendMessageA(run.window(), kProbeMessage, 0x77, 0);
  r.Expect(answer == ProbeAnswer(0x77) && ProbesReceived() == probes_before + 1 &&
               LastProbeParam() == 0x77 && run.host.calls.size() == calls_before,
           p + "a WM_APP message reaches the host's own window procedure and its result comes back",
           "SendMessageA answered " + Hex(static_cast<uintptr_t>(answer)) +
               ", the host's procedure saw " + std::to_string(ProbesReceived() - probes_before) +
               " probe(s)");
}

// Ticks 1 to 40: the start-up delay holds for 30 ticks, the 31st hands over
// to the engine's tick R3, and nothing registers after that.
uintptr_t CheckHandOver(CheckReport& r, const std::string& p, DllRun& run,
                        const StartedRoutines& started) {
  uintptr_t r1 = started.startup_tick;
  size_t before = run.host.calls.size();
  run.Ticks(30);
  r.Expect(run.host.calls.size() == before && SimCallbacksOfKind(run.host, kCallbackTick) == 1 &&
               run.host.callbacks[0].routine == reinterpret_cast<HostCallback>(r1),
           p + "ticks 1 to 30 leave R1 registered and make no host call",
           DescribeSimCalls(run.host, before));

  before = run.host.calls.size();
  run.Ticks(1);
  const std::vector<SimCall>& c = run.host.calls;
  uintptr_t r3 = c.size() == before + 2 ? c[before + 1].routine : 0;
  r.Expect(
      HostCallsAre(
          run.host, before,
          {{"unregister_callback", kCallbackTick, r1}, {"register_callback", kCallbackTick, r3}}) &&
          r3 != r1 && r3 != started.host_event && run.Contains(r3),
      p + "tick 31: unregister_callback(5, R1) then register_callback(5, R3), R3 a new routine "
          "inside the DLL",
      DescribeSimCalls(run.host, before));

  before = run.host.calls.size();
  run.Ticks(9);
  bool registered = std::any_of(c.begin() + before, c.end(), [](const SimCall& call) {
    return call.op == "register_callback" || call.op == "unregister_callback";
  });
  r.Expect(!registered, p + "ticks 32 to 40 register nothing", DescribeSimCalls(run.host, before));
  auto r3_routine = reinterpret_cast<HostCallback>(r3);
  r.Expect(SimRegistrations(run.host, kCallbackTick, r3_routine) == 1 &&
               SimCallbacksOfKind(run.host, kCallbackTick) == 1,
           p + "R3 is registered exactly once and is the only tick routine",
           std::to_string(SimRegistrations(run.host, kCallbackTick, r3_routine)) +
               " registration(s) of R3, " +
               std::to_string(SimCallbacksOfKind(run.host, kCallbackTick)) + " tick routine(s)");
  return r3;
}

// ModuleDeinit removes the event routine, then the tick routine registered
// now; the window gets its own procedure back and every block is freed.
void CheckShutdown(CheckReport& r, const std::string& p, DllRun& run, uintptr_t event_routine,
                   uintptr_t tick_routine, const char* tick_name) {
  size_t before = run.host.calls.size();
  size_t win_before = RecordedWinCalls().size();
  run.Deinit();
  r.Expect(HostCallsAre(run.host, before,
                        {{"unregister_callback", kCallbackHostEvent, event_routine},
                         {"unregister_callback", kCallbackTick, tick_routine}}) &&
               run.host.callbacks.empty(),
           p + "ModuleDeinit removes R2, then " + tick_name, DescribeSimCalls(run.host, before));
  LONG installed = InstalledWindowProc(run.window());
  r.Expect(installed == HostWindowProcValue(),
           p + "after ModuleDeinit the window has the host's own procedure again",
           "GetWindowLongA answers " + Hex(static_cast<uintptr_t>(installed)) + "; " +
               WinCallLine("ModuleDeinit made", win_before));
  HeapTraffic heap = HeapTrafficSince(0);
  std::string unbalanced = UnbalancedHeap(heap.allocated, heap);
  r.Expect(unbalanced.empty() && !heap.allocated.empty(),
           p + "every GlobalAlloc block was freed with GlobalFree",
           unbalanced.empty() ? "nothing was allocated" : unbalanced);
}

}  // namespace

void CheckExportedRecords(CheckReport& r, const std::string& dll_path) {
  const std::string p = "exports: ";
  DllRun run(dll_path);
  const ImportEntry* table = run.ImportTable();
  bool as_shipped = true;
  for (int i = 0; i < kImportEntries; ++i) {
    as_shipped =
        as_shipped && table[i].module_id == kExpectedModuleIds[i] && table[i].module_pointer == 0;
  }
  r.Expect(as_shipped,
           p + "ImportTable holds ids 1, 2, 3, 4, 0x16, 0x27 and {0, 0}, every pointer 0",
           DescribeImportTable(table));
  std::string words;
  for (int i = 0; i < 6; ++i) words += (i ? " " : "") + Hex(run.LinkageWord(i));
  r.Expect(run.LinkageWord(0) == 0x1000 && run.Contains(run.LinkageWord(1)) &&
               run.Contains(run.LinkageWord(2)) && run.LinkageWord(1) != run.LinkageWord(2) &&
               run.LinkageWord(3) == 0 && run.LinkageWord(4) == 0 && run.LinkageWord(5) == 0,
           p + "Linkage is 0x1000, ModuleInit and ModuleDeinit inside the DLL, then three zeros",
           "the words are " + words);
  CheckUnloaded(r, p, run);
}

void CheckFullStartUpAndHandOver(CheckReport& r, const std::string& dll_path) {
  const std::string p = "full start-up: ";
  CaseFolder folder("full-start-up");
  folder.Write(kCoursePath, SampleCourseFile());
  folder.Write(kScorePath, ScoreFileWithNames({"Ada", "Bea"}));
  DllRun run(dll_path);
  run.BindHost(true);

  CheckStartUp(r, p, run, run.Init());
  StartedRoutines started = CheckRegistrations(r, p, run);
  if (started.startup_tick == 0) return;  // what follows needs R1 and R2
  CheckMessagePassesThrough(r, p, run);
  uintptr_t engine_tick = CheckHandOver(r, p, run, started);
  CheckShutdown(r, p, run, started.host_event, engine_tick, "R3");
  CheckUnloaded(r, p, run);
}

void CheckShutdownDuringStartupDelay(CheckReport& r, const std::string& dll_path) {
  const std::string p = "shutdown after 10 ticks: ";
  CaseFolder folder("shutdown-after-10-ticks");
  folder.Write(kCoursePath, SampleCourseFile());
  DllRun run(dll_path);
  run.BindHost(true);

  int32_t result = run.Init();
  StartedRoutines started = CheckRegistrations(r, p, run);
  if (result != 1 || started.startup_tick == 0) {
    r.Fail(p + "start-up", "ModuleInit returned " + std::to_string(result));
    return;
  }
  size_t before = run.host.calls.size();
  run.Ticks(10);
  r.Expect(run.host.calls.size() == before, p + "10 ticks make no host call",
           DescribeSimCalls(run.host, before));
  CheckShutdown(r, p, run, started.host_event, started.startup_tick, "R1 (no engine tick)");
  CheckUnloaded(r, p, run);
}
