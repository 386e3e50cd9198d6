#include "sim/sim_shell.h"

#include "sim/sim_host.h"

// The stand-in simulator's main window, as the module's shell sees it.
namespace {

constexpr int64_t kEnterMenuLoop = 0x0211;  // WM_ENTERMENULOOP
constexpr int64_t kExitMenuLoop = 0x0212;   // WM_EXITMENULOOP

SimHost& Host(void* context) {
  return *static_cast<SimHost*>(context);
}

void Log(SimHost& h, const char* op, std::vector<int64_t> args, std::string text = {}) {
  SimCall& call = SimLogCall(h, op);
  call.args = std::move(args);
  call.text = std::move(text);
}

uintptr_t SimGetModuleHandle(void* c, const char* name) {
  SimHost& h = Host(c);
  Log(h, "GetModuleHandleA", {static_cast<int64_t>(h.module_handle)}, name);
  return h.module_handle;
}

uintptr_t SimFindWindow(void* c, const char* class_name) {
  SimHost& h = Host(c);
  uintptr_t found = h.window.exists && std::string(class_name) == "FS98MAIN" ? h.window.handle : 0;
  Log(h, "FindWindowA", {static_cast<int64_t>(found)}, class_name);
  return found;
}

uintptr_t GetWindowProc(void* c, uintptr_t window) {
  SimHost& h = Host(c);
  uintptr_t proc = h.window.exists && window == h.window.handle ? h.window.window_proc : 0;
  Log(h, "GetWindowLongA", {static_cast<int64_t>(window), static_cast<int64_t>(proc)});
  return proc;
}

uintptr_t SetWindowProc(void* c, uintptr_t window, uintptr_t proc) {
  SimHost& h = Host(c);
  uintptr_t previous = 0;
  if (h.window.exists && window == h.window.handle && !h.window.refuse_subclass) {
    previous = h.window.window_proc;
    h.window.window_proc = proc;
  }
  Log(h, "SetWindowLongA",
      {static_cast<int64_t>(window), static_cast<int64_t>(proc), static_cast<int64_t>(previous)});
  return previous;
}

void SendMenuLoop(void* c, uintptr_t window, bool enter) {
  SimHost& h = Host(c);
  Log(h, "SendMessageA",
      {static_cast<int64_t>(window), enter ? kEnterMenuLoop : kExitMenuLoop, 0, 0});
}

int32_t RunDialog(void* c, int32_t id) {
  SimHost& h = Host(c);
  int32_t result = h.run_dialog ? h.run_dialog(id) : 1;
  Log(h, "DialogBoxParamA", {id, result});
  return result;
}

// The value is read as the registry would: into 30 bytes, a text with its
// terminating NUL; a longer one fails as "more data".
bool ReadProductCode(void* c, char* out, uint32_t size) {
  SimHost& h = Host(c);
  constexpr size_t kRegistryBytes = 30;
  bool found = h.product_code.has_value() && h.product_code->size() + 1 <= kRegistryBytes;
  Log(h, "RegQueryValueExA", {found ? 1 : 0}, "ProductID");
  if (!found || size == 0) return false;
  size_t n = h.product_code->size() < size - 1 ? h.product_code->size() : size - 1;
  h.product_code->copy(out, n);
  out[n] = '\0';
  return true;
}

void KeepModuleLoaded(void* c, uintptr_t instance) {
  SimHost& h = Host(c);
  Log(h, "LoadLibraryA", {static_cast<int64_t>(instance)});
  h.module_kept_loaded = true;
}

}  // namespace

ShellOps SimShellOps(SimHost& host) {
  ShellOps ops{};
  ops.context = &host;
  ops.get_module_handle = SimGetModuleHandle;
  ops.find_window = SimFindWindow;
  ops.get_window_proc = GetWindowProc;
  ops.set_window_proc = SetWindowProc;
  ops.send_menu_loop = SendMenuLoop;
  ops.run_dialog = RunDialog;
  ops.read_product_code = ReadProductCode;
  ops.keep_module_loaded = KeepModuleLoaded;
  return ops;
}
