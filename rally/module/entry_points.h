#pragma once

#include <cstdint>

#include "rally/state/module.h"

// The one module instance that a loaded binary holds, and the routines the
// host calls back, each forwarding to it. The binder (the DLL's ModuleInit
// export, or the stand-in host) fills the instance's host, shell and
// platform tables before it starts the module.
RallyModule& LoadedModule();
// Puts the instance back into its just-loaded state (for a host that runs
// the module more than once in one process).
void ResetLoadedModule();
ModuleRoutines EntryRoutines(uintptr_t main_window_proc);

void RALLY_STDCALL StartupDelayTickEntry(uint32_t, uint32_t);
void RALLY_STDCALL EngineTickEntry(uint32_t, uint32_t);
void RALLY_STDCALL HostEventEntry(uint32_t event_id, uint32_t);
void RALLY_STDCALL PromptDoneEntry(uint32_t handle);
