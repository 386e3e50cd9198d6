#include "tests/win32/rally_host/rally_dll_run_win32.h"

#include <stdexcept>

#include "common/little_endian.h"
#include "sim/win32/fs98_tables_win32.h"
#include "tests/win32/rally_host/dll_import_recorder_win32.h"
#include "tests/win32/rally_host/host_window_win32.h"

namespace {

uint32_t ImageSize(HMODULE module) {
  const auto* base = reinterpret_cast<const BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  return nt->OptionalHeader.SizeOfImage;
}

FARPROC Export(HMODULE module, const char* name) {
  FARPROC address = GetProcAddress(module, name);
  if (address == nullptr) throw std::runtime_error(std::string("RALLY.DLL exports no ") + name);
  return address;
}

}  // namespace

DllRun::DllRun(const std::string& dll_path) {
  module_ = LoadLibraryA(dll_path.c_str());
  if (module_ == nullptr) {
    throw std::runtime_error("LoadLibraryA(" + dll_path + ") failed, error " +
                             std::to_string(GetLastError()));
  }
  begin_ = reinterpret_cast<uintptr_t>(module_);
  end_ = begin_ + ImageSize(module_);
  linkage_ = reinterpret_cast<const uint8_t*>(Export(module_, "Linkage"));
  import_table_ = reinterpret_cast<ImportEntry*>(Export(module_, "ImportTable"));
  RecordedWinCalls().clear();
  RecordDllImports(module_);
}

DllRun::~DllRun() {
  if (module_ != nullptr) Unload();
}

uint32_t DllRun::LinkageWord(int index) const {
  return load_u32le(linkage_ + 4 * index);
}

void DllRun::BindHost(bool with_window) {
  if (!FillFs98ImportTable(import_table_, host)) {
    throw std::runtime_error("the ImportTable names a module the simulator does not have");
  }
  if (with_window) window_ = CreateHostWindow();
}

int32_t DllRun::Init() {
  auto init = reinterpret_cast<ModuleInitRoutine>(static_cast<uintptr_t>(LinkageWord(1)));
  return init();
}

void DllRun::Ticks(int count) {
  for (int i = 0; i < count; ++i) SimRunTick(host);
}

void DllRun::Deinit() {
  auto deinit = reinterpret_cast<ModuleDeinitRoutine>(static_cast<uintptr_t>(LinkageWord(2)));
  deinit();
}

bool DllRun::Unload() {
  StopServingFs98Host();
  if (window_ != nullptr) {
    // A procedure left inside the DLL would be called after it is unmapped.
    if (Contains(static_cast<uintptr_t>(InstalledWindowProc(window_)))) {
      SetWindowLongA(window_, GWL_WNDPROC, HostWindowProcValue());
    }
    DestroyHostWindow(window_);
    window_ = nullptr;
  }
  FreeLibrary(module_);
  module_ = nullptr;
  return GetModuleHandleA("RALLY.DLL") == nullptr;
}

LONG InstalledWindowProc(HWND window) {
  return GetWindowLongA(window, GWL_WNDPROC);
}
