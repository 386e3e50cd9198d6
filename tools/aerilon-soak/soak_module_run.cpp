#include "tools/aerilon-soak/soak_module_run.h"

#include <cstdio>

#include "rally/course/course_check.h"
#include "rally/module/entry_points.h"
#include "rally/module/lifecycle.h"
#include "rally/module/main_window_messages.h"
#include "rally/state/random_generator.h"
#include "sim/sim_module_binding.h"
#include "tools/aerilon-soak/soak_disturbances.h"

namespace {

constexpr uint32_t kSoakEpoch = 900000000;  // what the module's clock answers, plus the seed
constexpr int32_t kLongestPrompt = 40;      // ticks

bool WindowHooked(const SoakModuleRun& run) {
  return run.host.window.window_proc == LoadedModule().routines.main_window_proc;
}

// The pilot answers every dialog at random; while it is open the modal
// loop may dispatch a tick, a key or a command to the module.
int32_t RunDialog(SoakModuleRun& run, int32_t id) {
  run.dialogs_open += 1;
  if (run.dialogs_open > run.most_dialogs_open) run.most_dialogs_open = run.dialogs_open;
  run.counts->dialogs_opened += 1;
  if (run.dialogs_open == 1 && run.random->OneIn(4)) DisturbInsideDialog(run);
  run.answers.quiz_slot = run.random->Range(1, 3);
  run.answers.summary = run.random->OneIn(4) ? SimSummaryButton::kExit : SimSummaryButton::kOk;
  int32_t result = RunSimDialog(LoadedModule(), id, run.answers).result;
  run.dialogs_open -= 1;
  return result;
}

void BindHost(SoakModuleRun& run) {
  SimHost& h = run.host;
  h.carry_out_repositions = true;
  h.deliver_command = [&run](uint32_t command) {
    if (WindowHooked(run)) {
      HandleMainWindowMessage(LoadedModule(), MainWindowMessage::kCommand, run.host.window.handle,
                              command);
    }
  };
  h.run_dialog = [&run](int32_t id) { return RunDialog(run, id); };
}

int32_t TotalTakes(const RallyModule& m) {
  int32_t takes = 0;
  for (int32_t slot = 0; slot < score::kNameSlots; ++slot) takes += TakeCounter(m.scores, slot);
  return takes;
}

// What the tick did, from the race's state before and after it.
void CountTick(SoakModuleRun& run, const RaceEngine& before, int32_t takes_before) {
  const RallyModule& m = LoadedModule();
  const RaceEngine& after = m.race;
  SoakCounts& c = *run.counts;
  c.ticks += 1;
  bool was_running = before.state == kLegRunning;
  bool running = after.state == kLegRunning;
  if (running && !was_running) c.legs_started += 1;
  if (was_running && !running && after.current_leg >= 0 && after.score_pending) {
    c.legs_finished += 1;
  }
  if (was_running && before.target.exists && before.target.record != after.target.record &&
      (running || after.score_pending)) {
    c.targets_met += 1;
  }
  int32_t takes = TotalTakes(m);
  if (takes > takes_before) c.awards += takes - takes_before;
  for (const SimCall& call : run.host.calls) c.prompts_played += call.op == "play_sound";
  run.host.calls.clear();  // the soak keeps counts, not the log
}

}  // namespace

SoakScene SceneOf(const SoakModuleRun& run) {
  return SoakScene{LoadedModule(),       run.host, run.menus, run.heap, run.simulator_window_proc,
                   run.most_dialogs_open};
}

std::optional<SoakViolation> StartSoakModule(SoakModuleRun& run, const std::string& root,
                                             uint32_t seed, SoakRandom& random,
                                             SoakCounts& counts) {
  run.random = &random;
  run.counts = &counts;
  ResetLoadedModule();
  RallyModule& m = LoadedModule();
  BindHost(run);
  std::snprintf(run.files.root, sizeof run.files.root, "%s", root.c_str());
  BindModuleToSim(m, run.host, run.files);
  BindSimMenuBar(m, run.menus, run.host);
  CountSoakHeap(m.platform, run.heap);
  run.heap.calendar_time = kSoakEpoch + seed;
  run.simulator_window_proc = run.host.window.window_proc;
  counts.module_runs += 1;
  if (ModuleInit(m) != 1) {
    return SoakViolation{"start-up", "the module did not start on the course in " + root};
  }
  SeedRandom(m.random, seed);
  SimPaintWindowFrame(m, run.host);
  PlacePilot(run.pilot, m, random);
  run.host.calls.clear();
  return std::nullopt;
}

std::optional<SoakViolation> SoakTick(SoakModuleRun& run) {
  RallyModule& m = LoadedModule();
  RaceEngine before = m.race;
  int32_t takes_before = TotalTakes(m);
  run.most_dialogs_open = 0;
  run.host.prompt_ticks = run.random->Range(1, kLongestPrompt);
  DisturbBeforeTick(run);
  if (FlyOneTick(run.pilot, m, *run.random, run.host.state) && run.random->OneIn(8)) {
    DeliverSlot(run, 0);  // the pilot enters the race on the way to a start box
  }
  SimRunTick(run.host);
  CountTick(run, before, takes_before);
  return CheckAfterTick(SceneOf(run));
}

std::optional<SoakViolation> StopSoakModule(SoakModuleRun& run) {
  ModuleDeinit(LoadedModule());
  std::optional<SoakViolation> found = CheckAfterShutdown(SceneOf(run));
  // The host still ends the prompts that play; their completions must find
  // a module that does nothing any more.
  for (int32_t i = 0; i <= kLongestPrompt && !found; ++i) {
    SimRunTick(run.host);
    found = CheckAfterShutdown(SceneOf(run));
  }
  run.host.calls.clear();
  ResetLoadedModule();
  return found;
}
