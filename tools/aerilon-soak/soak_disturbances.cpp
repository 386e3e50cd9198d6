#include "tools/aerilon-soak/soak_disturbances.h"

#include "rally/host/host_interface.h"
#include "rally/module/entry_points.h"
#include "tools/aerilon-soak/soak_module_run.h"

namespace {

constexpr uint32_t kSlotCount = 14;
constexpr uint32_t kKeyEvents[] = {0x100BD, 0x1013C, 0x10143};

// A flag that is set once in `on` ticks and cleared once in `off`.
int16_t Toggle(SoakRandom& r, int16_t value, int32_t on, int32_t off) {
  if (value == 0) return r.OneIn(on) ? 1 : 0;
  return r.OneIn(off) ? 0 : value;
}

void ToggleFlags(SoakModuleRun& run) {
  uint8_t* s = run.host.state;
  SoakRandom& r = *run.random;
  SetSimPauseFlag(s, Toggle(r, SimPauseFlag(s), 4000, 40));
  SetSimSlewActive(s, Toggle(r, SimSlewActive(s), 30000, 20));
  SetSimSuspendFlag(s, static_cast<uint8_t>(Toggle(r, SimSuspendFlag(s), 5000, 30)));
  SetSimCrashed(s, Toggle(r, SimCrashed(s), 60000, 10));
  if (r.OneIn(20000)) SetSimConditionIndex(s, static_cast<uint8_t>(r.Range(0, 3)));
  if (r.OneIn(10000)) SetSimMagneticVariation(s, static_cast<uint16_t>(r.Range(0, 65535)));
}

void SendKey(SoakModuleRun& run) {
  SoakRandom& r = *run.random;
  uint32_t id = r.OneIn(5) ? static_cast<uint32_t>(r.Range(0, 0x20000)) : kKeyEvents[r.Range(0, 2)];
  SimSendEvent(run.host, id);
}

void DeliverRandomSlot(SoakModuleRun& run) {
  DeliverSlot(run, static_cast<uint32_t>(run.random->Range(0, kSlotCount - 1)));
}

void RepaintFrame(SoakModuleRun& run) {
  if (run.random->OneIn(20)) {
    SimGiveWindowMenuBar(run.menus, kSimMenuBarLargestId, run.random->OneIn(2));
  }
  SimPaintWindowFrame(LoadedModule(), run.host);
}

}  // namespace

void DeliverSlot(SoakModuleRun& run, uint32_t slot) {
  uint32_t command = SimMenuCommand(run.menus, slot);
  if (command != 0) SimDeliverCommand(run.host, command);
}

void DisturbBeforeTick(SoakModuleRun& run) {
  SoakRandom& r = *run.random;
  ToggleFlags(run);
  if (r.OneIn(4000)) DeliverRandomSlot(run);
  if (r.OneIn(700)) SendKey(run);
  if (r.OneIn(3000)) RepaintFrame(run);
  if (r.OneIn(30000)) JumpPilot(run.pilot, r);
}

void DisturbInsideDialog(SoakModuleRun& run) {
  switch (run.random->Range(0, 2)) {
    case 0: SimRunTick(run.host); break;
    case 1: SendKey(run); break;
    default: DeliverRandomSlot(run); break;
  }
}
