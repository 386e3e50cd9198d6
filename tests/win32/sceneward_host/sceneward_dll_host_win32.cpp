// The Windows test host for the real Sceneward.dll: loads it afresh for
// every case (so each starts with the status of a newly loaded library),
// calls its exports through their __stdcall signatures on files it writes
// into a fresh folder, and prints one line per check and a closing
// "N passed, M failed". Exits 0 only when nothing failed.
//
// Usage: sceneward_dll_host [--only TEXT] [path of Sceneward.dll]
//   --only  runs only the cases whose name contains TEXT
//   the DLL is by default the one next to this program
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "sceneward/scenery/scenery_filter.h"
#include "sceneward/script/edit_script.h"
#include "sceneward/writer/area_sample.h"
#include "sceneward/writer/scenery_writer.h"
#include "tests/support/library_file_builder.h"
#include "tests/win32/case_runner_win32.h"
#include "tests/win32/check_report.h"
#include "tests/win32/import_patch_win32.h"
#include "tests/win32/sceneward_host/install_key_win32.h"
#include "tests/win32/sceneward_host/message_box_catcher_win32.h"
#include "tests/win32/sceneward_host/sceneward_case_folder_win32.h"
#include "tests/win32/sceneward_host/win32_file_system_cases_win32.h"

namespace {

typedef int32_t(WINAPI* VisEditExport)(const char* library, const char* script, const char* folder,
                                       int32_t remove);
typedef int32_t(WINAPI* AreaKillExport)(const char* library, const char* script, const char* root,
                                        int32_t unused);
typedef LONG(WINAPI* UninstallHookExport)(HWND window, HINSTANCE instance, LONG reserved);

const char kNoKeyText[] = "Could not find the appropriate key in the Registry!";
const char kNotRemovedText[] = "Could not remove the scenery item from World.VIS";
const char kScript[] =
    "; the add-on's area\r\nTITLE \"Aerilon by Vesk\"\r\nTYPE REGIONAL\r\nAFLAG ACTIVE\r\n"
    "AREA 12G30ME, 46G0MN, 13G0ME, 45G30MN\r\n";

std::string g_dll_path;

// The DLL, loaded for one case and unloaded after it.
class LoadedDll {
 public:
  LoadedDll() : module_(LoadLibraryA(g_dll_path.c_str())) {
    if (module_ == nullptr) {
      throw std::runtime_error("LoadLibraryA(" + g_dll_path + ") failed, error " +
                               std::to_string(GetLastError()));
    }
  }
  ~LoadedDll() { FreeLibrary(module_); }
  HMODULE module() const { return module_; }
  LoadedDll(const LoadedDll&) = delete;
  LoadedDll& operator=(const LoadedDll&) = delete;

  template <typename Export>
  Export Get(const char* name) const {
    FARPROC found = GetProcAddress(module_, name);
    if (found == nullptr) throw std::runtime_error(std::string("no export ") + name);
    return reinterpret_cast<Export>(reinterpret_cast<void*>(found));
  }

 private:
  HMODULE module_;
};

// Calls a hook with three arguments the way the uninstaller does and tells
// how many of the 12 argument bytes it left on the stack: 0 when it takes
// exactly three, as a __stdcall hook that the uninstaller calls must.
LONG CallUninstallHook(UninstallHookExport hook, HWND window, uint32_t* left_on_stack) {
  LONG result;
  uint32_t left;
  asm volatile(
      "movl %%esp, %%esi\n\t"
      "pushl $0\n\t"
      "pushl $0\n\t"
      "pushl %3\n\t"
      "call *%2\n\t"
      "movl %%esi, %%edx\n\t"
      "subl %%esp, %%edx\n\t"
      "movl %%esi, %%esp\n\t"
      : "=a"(result), "=&d"(left)
      : "b"(hook), "D"(window)
      : "ecx", "esi", "memory", "cc");
  *left_on_stack = left;
  return result;
}

LibraryFileBuilder OtherSceneries() {
  LibraryFileBuilder library;
  library.entries = {{10, 1, "Scenery\\World\\*.BGL", "Default Terrain"},
                     {30, 0, "=:\\=Alps\\*.BGL", "Alpine Airfields"}};
  library.order = {2, 1, 4, 3, 6, 5};
  return library;
}

// The library as the add-on leaves it installed, with its folder's entry first.
LibraryFileBuilder WithAerilon(const std::string& scenery_folder) {
  LibraryFileBuilder library = OtherSceneries().Rewritten();
  library.entries.insert(library.entries.begin(),
                         {20, 1, scenery_folder + "\\*.BGL", "Aerilon by Vesk"});
  return library;
}

std::string Hex(const std::vector<uint8_t>& bytes) {
  std::string text;
  char pair[4];
  for (size_t i = 0; i < bytes.size() && i < 48; ++i) {
    std::snprintf(pair, sizeof pair, "%02x", bytes[i]);
    text += pair;
  }
  return text + (bytes.size() > 48 ? "..." : "") + " (" + std::to_string(bytes.size()) + " bytes)";
}

void ExpectBytes(CheckReport& r, const std::string& name, const std::vector<uint8_t>& got,
                 const std::vector<uint8_t>& expected) {
  r.Expect(got == expected, name, "got " + Hex(got) + ", expected " + Hex(expected));
}

void ExpectFiles(CheckReport& r, const std::string& name, const SceneCaseFolder& folder,
                 const std::string& sub, const std::vector<std::string>& expected) {
  std::vector<std::string> got = folder.FileNames(sub);
  std::string listed;
  for (const std::string& n : got) listed += n + " ";
  r.Expect(got == expected, name, "the folder holds: " + listed);
}

void ExpectStatus(CheckReport& r, const std::string& name, int32_t got, int32_t expected) {
  r.Expect(got == expected, name,
           "returned " + std::to_string(got) + ", expected " + std::to_string(expected));
}

void VisEditAddsThenRemoves(CheckReport& r) {
  SceneCaseFolder f("visedit_add_remove");
  f.Write("WORLD.VIS", OtherSceneries().Build());
  f.WriteText("Sceneward.DAT", kScript);
  LoadedDll dll;
  auto vis_edit = dll.Get<VisEditExport>("VISEdit");
  std::string library = f.Path("WORLD.VIS");
  std::string script = f.Path("Sceneward.DAT");
  std::string scenery = f.Path("Scenery");

  ExpectStatus(r, "VISEdit add returns 0",
               vis_edit(library.c_str(), script.c_str(), scenery.c_str(), 0), 0);
  ExpectBytes(r, "VISEdit add puts the entry first", f.Read("WORLD.VIS"),
              WithAerilon(scenery).Build());
  ExpectFiles(r, "VISEdit add leaves no file beside the library", f, "",
              {"Sceneward.DAT", "WORLD.VIS"});

  ExpectStatus(r, "VISEdit remove returns 0",
               vis_edit(library.c_str(), script.c_str(), scenery.c_str(), 1), 0);
  ExpectBytes(r, "VISEdit remove takes the entry out", f.Read("WORLD.VIS"),
              OtherSceneries().Rewritten().Build());
  ExpectFiles(r, "VISEdit remove leaves no file beside the library", f, "",
              {"Sceneward.DAT", "WORLD.VIS"});
}

void VisEditStatusSticks(CheckReport& r) {
  SceneCaseFolder f("visedit_sticky");
  std::vector<uint8_t> old_library = OtherSceneries().Build();
  f.Write("WORLD.VIS", old_library);
  LoadedDll dll;
  auto vis_edit = dll.Get<VisEditExport>("VISEdit");
  std::string library = f.Path("WORLD.VIS");
  std::string script = f.Path("Sceneward.DAT");
  std::string scenery = f.Path("Scenery");

  ExpectStatus(r, "VISEdit without its script returns 4",
               vis_edit(library.c_str(), script.c_str(), scenery.c_str(), 0), 4);
  ExpectBytes(r, "VISEdit without its script leaves the library", f.Read("WORLD.VIS"), old_library);
  f.WriteText("Sceneward.DAT", kScript);
  ExpectStatus(r, "the next VISEdit still returns the earlier 4",
               vis_edit(library.c_str(), script.c_str(), scenery.c_str(), 0), 4);
  ExpectBytes(r, "the next VISEdit did its work all the same", f.Read("WORLD.VIS"),
              WithAerilon(scenery).Build());
}

// A library that another program holds open for reading, and lets no one
// write, cannot be opened for reading and writing. (The read-only attribute
// would say the same on Windows, but Wine running as root opens such a file
// for writing all the same.)
void VisEditRefusesALibraryItCannotWrite(CheckReport& r) {
  SceneCaseFolder f("visedit_locked");
  std::vector<uint8_t> old_library = OtherSceneries().Build();
  f.Write("WORLD.VIS", old_library);
  f.WriteText("Sceneward.DAT", kScript);
  std::string library = f.Path("WORLD.VIS");
  HANDLE reader = CreateFileA(library.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (reader == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot hold the library open");
  LoadedDll dll;
  auto vis_edit = dll.Get<VisEditExport>("VISEdit");
  int32_t status =
      vis_edit(library.c_str(), f.Path("Sceneward.DAT").c_str(), f.Path("Scenery").c_str(), 0);
  CloseHandle(reader);
  ExpectStatus(r, "VISEdit on a library it cannot write returns 1", status, 1);
  ExpectBytes(r, "VISEdit on a library it cannot write leaves it", f.Read("WORLD.VIS"),
              old_library);
  ExpectFiles(r, "VISEdit on a library it cannot write makes no file", f, "",
              {"Sceneward.DAT", "WORLD.VIS"});
}

// A folder that stands where the new library is to be written makes its
// creation fail on the real disk: the old library must stay as it was.
void VisEditCannotWriteTheNewLibrary(CheckReport& r) {
  SceneCaseFolder f("visedit_blocked");
  std::vector<uint8_t> old_library = OtherSceneries().Build();
  f.Write("WORLD.VIS", old_library);
  f.WriteText("Sceneward.DAT", kScript);
  f.MakeFolder("VisEdit.$$$");
  LoadedDll dll;
  auto vis_edit = dll.Get<VisEditExport>("VISEdit");
  int32_t status = vis_edit(f.Path("WORLD.VIS").c_str(), f.Path("Sceneward.DAT").c_str(),
                            f.Path("Scenery").c_str(), 0);
  ExpectStatus(r, "VISEdit that cannot write the new library returns 3", status, 3);
  ExpectBytes(r, "VISEdit that cannot write the new library leaves the old one",
              f.Read("WORLD.VIS"), old_library);
  ExpectFiles(r, "VISEdit that cannot write the new library makes no file", f, "",
              {"Sceneward.DAT", "WORLD.VIS"});
}

const char kAreaScript[] = "TITLE \"Aerilon by Vesk\"\r\nAREA 1G0ME, 2G0MN, 2G0ME, 1G0MN\r\n";

KillArea AreaOfTheScript() {
  std::string text = kAreaScript;
  EditParameters edit = kDefaultEditParameters;
  if (!ParseEditScriptText(&text[0], edit, nullptr) || edit.kill_area_count != 1) {
    throw std::runtime_error("the area script does not parse to one area");
  }
  return edit.kill_areas[0];
}

// What the core makes of the file, for comparing with what the DLL wrote.
std::vector<uint8_t> WithoutTheAreasObjects(const std::vector<uint8_t>& source,
                                            const KillArea& area) {
  FilterResult result = FilterSceneryBytes(
      ByteSpan{source.data(), static_cast<uint32_t>(source.size())}, KillAreaList{&area, 1}, area);
  std::vector<uint8_t> bytes(result.rewritten.data, result.rewritten.data + result.rewritten.size);
  ByteBufferFree(result.rewritten);
  if (result.outcome != FilterOutcome::kRewritten) throw std::runtime_error("no rewrite expected");
  return bytes;
}

// A library of one area below the root folder, "=:\=\Alps\*.BGL", whose
// scenery files lie in Alps\Scenery, and the script; returns the library.
std::vector<uint8_t> LayOutAlps(const SceneCaseFolder& f, const char* script) {
  LibraryFileBuilder builder;
  builder.entries = {{30, 1, "=:\\=\\Alps\\*.BGL", "Alps"}};
  std::vector<uint8_t> library = builder.Build();
  f.Write("WORLD.VIS", library);
  f.WriteText("Sceneward.DAT", script);
  f.MakeFolder("Alps");
  f.MakeFolder("Alps\\Scenery");
  return library;
}

// The DLL's AreaKill over the case folder. It leaves the process in the
// last scenery folder it scanned; the test's own folder is restored.
int32_t CallAreaKill(const SceneCaseFolder& f, int32_t fourth) {
  LoadedDll dll;
  auto area_kill = dll.Get<AreaKillExport>("AreaKill");
  char before[MAX_PATH];
  GetCurrentDirectoryA(sizeof before, before);
  int32_t status = area_kill(f.Path("WORLD.VIS").c_str(), f.Path("Sceneward.DAT").c_str(),
                             f.Root().c_str(), fourth);
  SetCurrentDirectoryA(before);
  return status;
}

// A library whose one area lies under the root folder, its scenery files in
// Alps\Scenery, with a file over the script's area and one that is no
// scenery file by its name; AreaKill with or without the script's AREA.
void AreaKillCase(CheckReport& r, bool with_area) {
  SceneCaseFolder f(with_area ? "areakill_area" : "areakill_no_area");
  std::vector<uint8_t> library =
      LayOutAlps(f, with_area ? kAreaScript : "TITLE \"Aerilon by Vesk\"\r\n");
  KillArea area = AreaOfTheScript();
  std::vector<uint8_t> scenery =
      scenery_source::WriteSceneryFile(scenery_source::OneObjectInsideOneOutside(area)).bytes;
  f.Write("Alps\\Scenery\\inside.bgl", scenery);
  f.Write("Alps\\Scenery\\readme.txt", scenery);

  std::string name = with_area ? "AreaKill with an area" : "AreaKill without areas";
  int32_t status = CallAreaKill(f, 7);
  ExpectStatus(r, name + ": returns 0", status, 0);
  ExpectBytes(r, name + ": leaves the library", f.Read("WORLD.VIS"), library);
  ExpectBytes(r, name + ": " + (with_area ? "drops the object inside" : "leaves the scenery file"),
              f.Read("Alps\\Scenery\\inside.bgl"),
              with_area ? WithoutTheAreasObjects(scenery, area) : scenery);
  ExpectBytes(r, name + ": leaves a file of another name", f.Read("Alps\\Scenery\\readme.txt"),
              scenery);
  ExpectFiles(r, name + ": leaves no other file", f, "Alps\\Scenery", {"inside.bgl", "readme.txt"});
}

// A folder named like the rewritten file's temporary name makes its creation
// fail on the real disk: the scenery file must stay as it was.
void AreaKillCannotWriteTheRewrittenFile(CheckReport& r) {
  SceneCaseFolder f("areakill_blocked");
  LayOutAlps(f, kAreaScript);
  f.MakeFolder("Alps\\Scenery\\Temp.$$$");
  std::vector<uint8_t> scenery =
      scenery_source::WriteSceneryFile(scenery_source::OneObjectInsideOneOutside(AreaOfTheScript()))
          .bytes;
  f.Write("Alps\\Scenery\\inside.bgl", scenery);
  int32_t status = CallAreaKill(f, 0);
  const char* name = "AreaKill that cannot write the rewritten file";
  ExpectStatus(r, std::string(name) + ": returns 3", status, 3);
  ExpectBytes(r, std::string(name) + ": leaves the scenery file",
              f.Read("Alps\\Scenery\\inside.bgl"), scenery);
  ExpectFiles(r, std::string(name) + ": makes no file", f, "Alps\\Scenery", {"inside.bgl"});
}

// An installed add-on: the library under FS98, the script under Aerilon,
// and the key naming both folders as its case asks.
struct Installed {
  SceneCaseFolder folder;
  std::vector<uint8_t> old_library;
  InstallKey key;

  Installed(const char* name, bool library_folder, bool data_folder, bool script) : folder(name) {
    folder.MakeFolder("FS98");
    folder.MakeFolder("Aerilon");
    old_library = WithAerilon(folder.Path("Aerilon\\Scenery")).Build();
    folder.Write("FS98\\WORLD.VIS", old_library);
    if (script) folder.WriteText("Aerilon\\Sceneward.DAT", kScript);
    key.Remove();
    if (library_folder) key.Set("VIS_Path", folder.Path("FS98"));
    if (data_folder) key.Set("Data_Path", folder.Path("Aerilon"));
  }
};

// The style of every MessageBoxA call the DLL makes, which the box on the
// screen does not tell: the call goes on to the real function, whose box the
// catcher reads and closes.
std::vector<UINT> g_box_styles;
decltype(&MessageBoxA) g_real_message_box = nullptr;

int WINAPI RecordMessageBox(HWND owner, LPCSTR text, LPCSTR caption, UINT style) {
  g_box_styles.push_back(style);
  return g_real_message_box(owner, text, caption, style);
}

// Runs UninstInitialize with its boxes caught, owned by a window of the test.
struct HookRun {
  LONG result = -1;
  uint32_t left_on_stack = 0;
  std::vector<CaughtBox> boxes;
  std::vector<UINT> styles;
  HWND window = nullptr;
};

HookRun RunUninstInitialize() {
  HookRun run;
  run.window = CreateWindowExA(0, "STATIC", "Uninstaller", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                               nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (run.window == nullptr) throw std::runtime_error("cannot create the uninstaller's window");
  {
    LoadedDll dll;
    g_box_styles.clear();
    g_real_message_box = reinterpret_cast<decltype(&MessageBoxA)>(ReplaceImport(
        dll.module(), "USER32.dll", "MessageBoxA", reinterpret_cast<void*>(RecordMessageBox)));
    if (g_real_message_box == nullptr) throw std::runtime_error("the DLL imports no MessageBoxA");
    MessageBoxCatcher catcher;
    run.result = CallUninstallHook(dll.Get<UninstallHookExport>("UninstInitialize"), run.window,
                                   &run.left_on_stack);
    run.boxes = catcher.boxes();
    run.styles = g_box_styles;
  }
  DestroyWindow(run.window);
  return run;
}

void ExpectHookEnd(CheckReport& r, const std::string& name, const HookRun& run) {
  ExpectStatus(r, name + ": returns 0", run.result, 0);
  r.Expect(run.left_on_stack == 0, name + ": takes its three arguments off the stack",
           std::to_string(run.left_on_stack) + " bytes left");
}

void ExpectOneBox(CheckReport& r, const std::string& name, const HookRun& run, const char* text) {
  if (!r.Expect(run.boxes.size() == 1, name + ": shows one box",
                std::to_string(run.boxes.size()) + " boxes")) {
    return;
  }
  const CaughtBox& box = run.boxes[0];
  r.Expect(box.text == text, name + ": box text", "\"" + box.text + "\"");
  r.Expect(box.caption == "Error", name + ": box caption", "\"" + box.caption + "\"");
  r.Expect(box.owner == run.window, name + ": box owned by the uninstaller's window",
           "owned by another window");
  const UINT wanted = MB_OK | MB_ICONERROR | MB_TASKMODAL;
  char style[32];
  std::snprintf(style, sizeof style, "style 0x%x", run.styles.empty() ? 0u : run.styles[0]);
  r.Expect(run.styles.size() == 1 && run.styles[0] == wanted,
           name + ": an OK box with the error icon, modal to the whole task",
           run.styles.size() == 1 ? std::string(style)
                                  : std::to_string(run.styles.size()) + " MessageBoxA calls");
}

void UninstallRemovesTheEntry(CheckReport& r) {
  Installed installed("uninstall_removes", true, true, true);
  HookRun run = RunUninstInitialize();
  const char* name = "UninstInitialize with the key";
  ExpectHookEnd(r, name, run);
  r.Expect(run.boxes.empty(), std::string(name) + ": shows no box",
           run.boxes.empty() ? "" : "showed \"" + run.boxes[0].text + "\"");
  ExpectBytes(r, std::string(name) + ": removes the add-on's entry",
              installed.folder.Read("FS98\\WORLD.VIS"), OtherSceneries().Rewritten().Build());
  ExpectFiles(r, std::string(name) + ": leaves no file beside the library", installed.folder,
              "FS98", {"WORLD.VIS"});
}

void UninstallFailures(CheckReport& r) {
  struct Failure {
    const char* name;
    bool library_folder, data_folder, script;
    const char* text;
  };
  const Failure failures[] = {
      {"UninstInitialize without the key", false, false, true, kNoKeyText},
      {"UninstInitialize without Data_Path", true, false, true, kNoKeyText},
      {"UninstInitialize without the script", true, true, false, kNotRemovedText},
  };
  for (const Failure& failure : failures) {
    Installed installed("uninstall_failure", failure.library_folder, failure.data_folder,
                        failure.script);
    HookRun run = RunUninstInitialize();
    ExpectHookEnd(r, failure.name, run);
    ExpectOneBox(r, failure.name, run, failure.text);
    ExpectBytes(r, std::string(failure.name) + ": leaves the library",
                installed.folder.Read("FS98\\WORLD.VIS"), installed.old_library);
    ExpectFiles(r, std::string(failure.name) + ": makes no file", installed.folder, "FS98",
                {"WORLD.VIS"});
  }
}

void UninstUnInitializeDoesNothing(CheckReport& r) {
  LoadedDll dll;
  MessageBoxCatcher catcher;
  uint32_t left = 0;
  LONG result =
      CallUninstallHook(dll.Get<UninstallHookExport>("UninstUnInitialize"), nullptr, &left);
  ExpectStatus(r, "UninstUnInitialize returns 0", result, 0);
  r.Expect(left == 0, "UninstUnInitialize takes its three arguments off the stack",
           std::to_string(left) + " bytes left");
  r.Expect(catcher.boxes().empty(), "UninstUnInitialize shows no box", "a box was shown");
}

}  // namespace

int main(int argc, char** argv) {
  g_dll_path = PathBesideThisProgram("Sceneward.dll");
  std::string only;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--only" && i + 1 < argc) {
      only = argv[++i];
    } else {
      g_dll_path = arg;
    }
  }
  CheckReport report;
  CaseRunner cases(report, only);
  cases.Run("file_system", [&] { Win32FileSystemCases(report); });
  cases.Run("visedit_add_remove", [&] { VisEditAddsThenRemoves(report); });
  cases.Run("visedit_sticky", [&] { VisEditStatusSticks(report); });
  cases.Run("visedit_locked", [&] { VisEditRefusesALibraryItCannotWrite(report); });
  cases.Run("visedit_blocked", [&] { VisEditCannotWriteTheNewLibrary(report); });
  cases.Run("areakill_no_area", [&] { AreaKillCase(report, false); });
  cases.Run("areakill_area", [&] { AreaKillCase(report, true); });
  cases.Run("areakill_blocked", [&] { AreaKillCannotWriteTheRewrittenFile(report); });
  cases.Run("uninstall_removes", [&] { UninstallRemovesTheEntry(report); });
  cases.Run("uninstall_failures", [&] { UninstallFailures(report); });
  cases.Run("uninstall_uninitialize", [&] { UninstUnInitializeDoesNothing(report); });
  report.PrintSummary();
  return report.AllPassed() ? 0 : 1;
}
