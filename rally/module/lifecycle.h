#pragma once

// Layer rally/module, the top of the portable module: start-up (loading the
// course and scores, hooking the window, registering the routines),
// shutdown, the entry points the host calls and what the main window's
// procedure does with a message. The Windows glue in win32/ binds it.

#include <cstdint>

struct RallyModule;

// Start-up: loads the course and scores, hooks the simulator's main window
// and registers the start-up delay and the event routine. Returns 1 after a
// complete start-up, 0 when it stopped (no course, no window, no hook).
int32_t ModuleInit(RallyModule& m);

// The first kind-5 routine: after 30 calls it hands the tick to the engine.
void StartupDelayTick(RallyModule& m);

// Shutdown: removes the routines, unhooks the window, frees the blocks.
void ModuleDeinit(RallyModule& m);

constexpr int32_t kStartupDelayTicks = 30;
constexpr char kModuleFileName[] = "RALLY.DLL";
constexpr char kMainWindowClass[] = "FS98MAIN";
