#include "rally/race/engine_tick.h"
#include "rally/ui/message_queue.h"

#include "rally/race/entry_scan.h"
#include "rally/race/immediate_notice.h"
#include "rally/race/race_commands.h"
#include "rally/race/race_texts.h"
#include "rally/race/record_dispatch.h"
#include "rally/race/tick_tail.h"
#include "rally/state/module.h"

namespace {

enum class LoopEnd { kTickTail, kNoTail };

bool OutOfLeg(int32_t state) {
  return state == kOutOfRace || state == kArmed;
}

// Records are executed and targets passed until one waits; several can go
// in one tick. The loop always ends: every step either moves the record
// pointer on, leaves the race (after which the entry scan ends the loop)
// or stops.
LoopEnd RunRecordLoop(RallyModule& m) {
  for (;;) {
    if (OutOfLeg(m.race.state)) {
      if (ScanEntries(m) == ScanResult::kLegStarted) continue;
      return LoopEnd::kNoTail;
    }
    switch (DispatchRecord(m)) {
      case DispatchStep::kNextRecord: continue;
      case DispatchStep::kTickTail: return LoopEnd::kTickTail;
      case DispatchStep::kTickDone: return LoopEnd::kNoTail;
    }
  }
}

void OnCrash(RallyModule& m) {
  if (m.race.state == kLegRunning) ShowImmediateNotice(m, race_text::kCrashed, race_voice::kCrash);
  ResetRace(m);
}

// Slewing out of the race changes nothing; in an approach or armed it
// leaves the race without a word.
void OnSlew(RallyModule& m) {
  if (m.race.state == kOutOfRace) return;
  if (m.race.state == kLegRunning) ShowImmediateNotice(m, race_text::kSlewed, race_voice::kSlew);
  ResetRace(m);
}

}  // namespace

void EngineTick(RallyModule& m) {
  const uint8_t* s = m.host.sim_state;
  if (SimPauseFlag(s) != 0) return;
  if (SimCrashed(s) != 0) {
    OnCrash(m);
    return;
  }
  if (SimSlewActive(s) != 0) {
    OnSlew(m);
    return;
  }
  if (SimSuspendFlag(s) != 0) return;
  m.race.tick_count = static_cast<int32_t>(static_cast<uint32_t>(m.race.tick_count) + 1u);
  if (RunRecordLoop(m) == LoopEnd::kTickTail && RunTickTail(m) == TailResult::kTeleported) return;
  ServiceMessages(m);
}
