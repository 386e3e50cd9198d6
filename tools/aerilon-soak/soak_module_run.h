#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "rally/host/stdio_platform.h"
#include "sim/sim_dialogs.h"
#include "sim/sim_host.h"
#include "sim/sim_menu_bar.h"
#include "tools/aerilon-soak/soak_heap.h"
#include "tools/aerilon-soak/soak_invariants.h"
#include "tools/aerilon-soak/soak_pilot.h"
#include "tools/aerilon-soak/soak_random.h"

// What a soak has seen so far.
struct SoakCounts {
  int64_t ticks = 0;
  int64_t module_runs = 0;
  int64_t legs_started = 0;
  int64_t legs_finished = 0;
  int64_t targets_met = 0;  // gates, waypoints and landings passed
  int64_t awards = 0;       // bonus objects taken
  int64_t dialogs_opened = 0;
  int64_t prompts_played = 0;
};

// One run of the module (the binary's one instance) on a fresh stand-in
// simulator over one simulator folder: start-up, ticks of random flight
// and disturbances, shutdown. Holds addresses of itself: make it in place.
struct SoakModuleRun {
  SimHost host;
  SimMenuBar menus;
  StdioPlatform files{};
  SoakHeap heap;
  SoakPilot pilot;
  SimDialogAnswers answers;
  uintptr_t simulator_window_proc = 0;
  int32_t dialogs_open = 0;
  int32_t most_dialogs_open = 0;  // during the current tick
  SoakRandom* random = nullptr;
  SoakCounts* counts = nullptr;
};

// Starts the module over `root` (a folder holding ADV/RALLY/Rally.DAT); the
// module's generator is seeded with `seed`. A violation when the module
// refuses its course.
std::optional<SoakViolation> StartSoakModule(SoakModuleRun& run, const std::string& root,
                                             uint32_t seed, SoakRandom& random, SoakCounts& counts);
// One tick: the disturbances of the moment, the pilot's flight, the tick,
// then every invariant.
std::optional<SoakViolation> SoakTick(SoakModuleRun& run);
// Shuts the module down, lets the prompts still playing end, and checks
// that nothing stays registered or allocated.
std::optional<SoakViolation> StopSoakModule(SoakModuleRun& run);

SoakScene SceneOf(const SoakModuleRun& run);
