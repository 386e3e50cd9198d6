// Start-ups the module must refuse: no course, a course that is not one,
// no simulator window. Each returns 0, leaves the host and the window
// untouched, and ModuleDeinit then gives back exactly what was taken.
#include "rally/course/score_table.h"
#include "tests/win32/rally_host/call_expectations_win32.h"
#include "tests/win32/rally_host/case_folder_win32.h"
#include "tests/win32/rally_host/dll_cases_win32.h"
#include "tests/win32/rally_host/dll_import_recorder_win32.h"
#include "tests/win32/rally_host/host_window_win32.h"
#include "tests/win32/rally_host/rally_dll_run_win32.h"

namespace {

std::string Described(const std::vector<WinCall>& calls) {
  return DescribeWinCalls(calls);
}

bool OpenedForReading(const WinCall& c, const char* path) {
  return c.texts.size() == 2 && c.texts[0] == path && c.texts[1] == "rb";
}

void CheckInitRefused(CheckReport& r, const std::string& p, int32_t result) {
  r.Expect(result == 0, p + "ModuleInit returns 0", "it returned " + std::to_string(result));
}

void CheckHostUntouched(CheckReport& r, const std::string& p, const DllRun& run, const char* when) {
  r.Expect(run.host.calls.empty(), p + when + " makes no host call", DescribeSimCalls(run.host));
}

// The course is never accepted, so the window is never looked for.
void CheckWindowNotLookedFor(CheckReport& r, const std::string& p, const DllRun& run) {
  std::vector<WinCall> found = WinCallsTo("GetModuleHandleA");
  for (const char* f : {"FindWindowA", "GetWindowLongA", "SetWindowLongA"}) {
    for (const WinCall& c : WinCallsTo(f)) found.push_back(c);
  }
  LONG installed = InstalledWindowProc(run.window());
  r.Expect(found.empty() && installed == HostWindowProcValue(),
           p + "no GetModuleHandleA or FindWindowA call, the window's procedure unchanged",
           "calls: " + Described(found) + "; procedure " + Hex(static_cast<uintptr_t>(installed)));
}

// ModuleDeinit after a refused start-up: no host call and no GlobalFree.
void CheckDeinitDoesNothing(CheckReport& r, const std::string& p, DllRun& run) {
  size_t win_before = RecordedWinCalls().size();
  run.Deinit();
  CheckHostUntouched(r, p, run, "ModuleDeinit");
  std::vector<WinCall> frees = WinCallsTo("GlobalFree", win_before);
  r.Expect(frees.empty(), p + "ModuleDeinit frees nothing", Described(frees));
}

void CheckUnloaded(CheckReport& r, const std::string& p, DllRun& run) {
  r.Expect(run.Unload(), p + "RALLY.DLL unloaded after FreeLibrary",
           "GetModuleHandleA(\"RALLY.DLL\") still finds it");
}

}  // namespace

void CheckNoCourse(CheckReport& r, const std::string& dll_path) {
  const std::string p = "no course file: ";
  CaseFolder folder("no-course");
  DllRun run(dll_path);
  run.BindHost(true);

  CheckInitRefused(r, p, run.Init());
  CheckHostUntouched(r, p, run, "ModuleInit");
  CheckWindowNotLookedFor(r, p, run);
  std::vector<WinCall> opens = WinCallsTo("fopen");
  std::vector<WinCall> allocations = WinCallsTo("GlobalAlloc");
  r.Expect(opens.size() == 1 && OpenedForReading(opens[0], kCoursePath) && opens[0].result == 0 &&
               allocations.empty(),
           p + "only the course file is tried, and nothing is allocated",
           Described(opens) + "; " + Described(allocations));
  CheckDeinitDoesNothing(r, p, run);
  CheckUnloaded(r, p, run);
}

void CheckCourseWithWrongMagic(CheckReport& r, const std::string& dll_path) {
  const std::string p = "course with a wrong magic: ";
  CaseFolder folder("wrong-magic");
  std::vector<uint8_t> course = CourseFileWithWrongMagic();
  folder.Write(kCoursePath, course);
  DllRun run(dll_path);
  run.BindHost(true);

  CheckInitRefused(r, p, run.Init());
  CheckHostUntouched(r, p, run, "ModuleInit");
  CheckWindowNotLookedFor(r, p, run);
  HeapTraffic heap = HeapTrafficSince(0);
  std::vector<WinCall> allocations = WinCallsTo("GlobalAlloc");
  std::string unbalanced = UnbalancedHeap(heap.allocated, heap);
  r.Expect(allocations.size() == 1 && allocations[0].args[1] == course.size() && unbalanced.empty(),
           p + "the one block allocated for the course is freed before ModuleInit returns",
           DescribeWinCalls(RecordedWinCalls()));
  std::vector<WinCall> opens = WinCallsTo("fopen");
  r.Expect(opens.size() == 1 && OpenedForReading(opens[0], kCoursePath),
           p + "the score file is not opened", Described(opens));
  CheckDeinitDoesNothing(r, p, run);
  CheckUnloaded(r, p, run);
}

void CheckNoMainWindow(CheckReport& r, const std::string& dll_path) {
  const std::string p = "no FS98MAIN window: ";
  CaseFolder folder("no-window");
  std::vector<uint8_t> course = SampleCourseFile();
  std::vector<uint8_t> scores = ScoreFileWithNames({"Ada", "Bea"});
  folder.Write(kCoursePath, course);
  folder.Write(kScorePath, scores);
  DllRun run(dll_path);
  run.BindHost(false);
  if (FindWindowA("FS98MAIN", nullptr) != nullptr) {
    r.Fail(p + "set-up", "a window of class FS98MAIN is still open from an earlier case");
    return;
  }

  CheckInitRefused(r, p, run.Init());
  std::vector<WinCall> opens = WinCallsTo("fopen");
  r.Expect(opens.size() == 2 && OpenedForReading(opens[0], kCoursePath) && opens[0].result != 0 &&
               OpenedForReading(opens[1], kScorePath) && opens[1].result != 0,
           p + "the course file, then the score file, are opened", Described(opens));
  std::vector<WinCall> allocations = WinCallsTo("GlobalAlloc");
  size_t pool_size = scores.size() - score::kBlockBytes + 1;  // the names and one more NUL
  bool two_blocks = allocations.size() == 2 && allocations[0].args[1] == course.size() &&
                    allocations[0].result != 0 && allocations[1].args[1] == pool_size &&
                    allocations[1].result != 0;
  r.Expect(two_blocks && WinCallsTo("GlobalFree").empty(),
           p + "two blocks allocated (course, names pool), none freed yet",
           DescribeWinCalls(RecordedWinCalls()));
  std::vector<WinCall> finds = WinCallsTo("FindWindowA");
  r.Expect(finds.size() == 1 && finds[0].texts[0] == "FS98MAIN" && finds[0].result == 0 &&
               WinCallsTo("GetWindowLongA").empty() && WinCallsTo("SetWindowLongA").empty(),
           p + "FindWindowA(\"FS98MAIN\") is asked once and answers 0, nothing more is done to "
               "windows",
           DescribeWinCalls(RecordedWinCalls()));
  CheckHostUntouched(r, p, run, "ModuleInit");

  size_t win_before = RecordedWinCalls().size();
  run.Deinit();
  CheckHostUntouched(r, p, run, "ModuleDeinit");
  std::vector<uintptr_t> blocks;
  for (const WinCall& c : allocations) blocks.push_back(c.result);
  std::string unbalanced = UnbalancedHeap(blocks, HeapTrafficSince(win_before));
  r.Expect(two_blocks && unbalanced.empty(), p + "ModuleDeinit frees exactly those two blocks",
           unbalanced.empty() ? DescribeWinCalls(RecordedWinCalls(), win_before) : unbalanced);
  CheckUnloaded(r, p, run);
}
