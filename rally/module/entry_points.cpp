#include "rally/module/entry_points.h"

#include "rally/commands/host_events.h"
#include "rally/commands/menu_commands.h"
#include "rally/module/lifecycle.h"
#include "rally/race/engine_tick.h"
#include "rally/ui/prompt_queue.h"

namespace {
RallyModule g_module{};
}  // namespace

RallyModule& LoadedModule() {
  return g_module;
}

void ResetLoadedModule() {
  g_module = RallyModule{};
}

ModuleRoutines EntryRoutines(uintptr_t main_window_proc) {
  return ModuleRoutines{StartupDelayTickEntry, EngineTickEntry, HostEventEntry, PromptDoneEntry,
                        main_window_proc};
}

void RALLY_STDCALL StartupDelayTickEntry(uint32_t, uint32_t) {
  StartupDelayTick(g_module);
}

void RALLY_STDCALL EngineTickEntry(uint32_t, uint32_t) {
  EngineTick(g_module);
  // What asked for a dialog while the tick's score summary was open.
  ServeWaitingDialogs(g_module);
}

void RALLY_STDCALL HostEventEntry(uint32_t event_id, uint32_t) {
  OnHostEvent(g_module, event_id);
}

void RALLY_STDCALL PromptDoneEntry(uint32_t handle) {
  // After shutdown the host's tables may be gone: a late completion does nothing.
  if (g_module.frame.shut_down) return;
  OnPromptDone(g_module, handle);
}
