#include "rally/commands/menu_commands.h"

#include "rally/commands/quiz.h"
#include "rally/race/race_commands.h"
#include "rally/state/module.h"
#include "rally/ui/dialog_gate.h"
#include "rally/ui/message_commands.h"
#include "rally/ui/score_summary.h"

namespace {

constexpr uint32_t kToggleRaceSlot = 0;
constexpr uint32_t kRepeatSlot = 2;
constexpr uint32_t kNextFixSlot = 3;
constexpr uint32_t kCreditsSlot = 4;
constexpr uint32_t kFirstPositionSlot = 6;
constexpr uint32_t kLastPositionSlot = 13;
constexpr int32_t kAbortResult = 1040;

bool OpensDialog(uint32_t slot) {
  return slot == kScoreCommandSlot || slot == kCreditsSlot || slot == kQuizCommandSlot;
}

void ShowScoreSummary(RallyModule& m) {
  if (OpenScoreSummary(m) == kAbortResult) AbortRaceFromSummary(m);
}

}  // namespace

bool OnMenuCommand(RallyModule& m, uint32_t wparam) {
  if (!MenuTakesCommands(m.menu)) return false;
  if (wparam < m.menu.command_base || wparam > m.menu.command_last) return false;
  RunMenuSlot(m, wparam - m.menu.command_base);
  return true;
}

void RunMenuSlot(RallyModule& m, uint32_t slot) {
  if (OpensDialog(slot) && ModuleDialogOpen(m)) {
    WaitForDialog(m, slot);
    return;
  }
  if (slot >= kFirstPositionSlot && slot <= kLastPositionSlot) {
    MoveToStartPosition(m, slot);
    return;
  }
  switch (slot) {
    case kToggleRaceSlot: ToggleRace(m); break;
    case kScoreCommandSlot: ShowScoreSummary(m); break;
    case kRepeatSlot: RepeatLastMessage(m); break;
    case kNextFixSlot: ShowNextFixInfo(m); break;
    case kCreditsSlot: RunModuleDialog(m, kCreditsDialog, false); break;
    case kQuizCommandSlot: RunQuizCommand(m); break;
    default: break;  // inside the range but without a command: consumed, nothing done
  }
  ServeWaitingDialogs(m);
}

// A finished leg's summary first, then the commands by slot. Each is taken
// off before it runs; the opener has booked its own dialog's result by now.
void ServeWaitingDialogs(RallyModule& m) {
  DialogGate& gate = m.dialogs;
  // Called every engine tick: almost always nothing waits.
  if (gate.open || (!gate.summary_after_leg && gate.waiting_commands == 0)) return;
  if (gate.summary_after_leg) {
    gate.summary_after_leg = false;
    OpenScoreSummary(m);
  }
  for (uint32_t slot = 0; slot < 32 && !gate.open; ++slot) {
    uint32_t bit = 1u << slot;
    if ((gate.waiting_commands & bit) == 0) continue;
    gate.waiting_commands &= ~bit;
    RunMenuSlot(m, slot);
  }
}
