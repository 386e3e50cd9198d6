#include "sim/sim_module_binding.h"

#include "rally/host/stdio_platform.h"
#include "rally/module/entry_points.h"
#include "sim/sim_shell.h"

namespace {
// Stands for MainWindowProc: the stand-in window has no message loop, so
// only the address matters (it is what the hook installs and removes).
void SimMainWindowProcToken() {}
}  // namespace

uintptr_t SimMainWindowProcAddress() {
  return reinterpret_cast<uintptr_t>(&SimMainWindowProcToken);
}

void BindModuleToSim(RallyModule& m, SimHost& host, StdioPlatform& files) {
  m.host = SimHostOps(host);
  m.shell = SimShellOps(host);
  m.platform = MakeStdioPlatform(&files);
  m.routines = EntryRoutines(SimMainWindowProcAddress());
}
