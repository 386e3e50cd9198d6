#include "rally/ui/message_queue.h"

#include <cstring>

#include "rally/state/module.h"
#include "rally/ui/dialog_gate.h"
#include "rally/ui/prompt_queue.h"
#include "rally/ui/score_summary.h"

namespace {

// The longest a message can be asked to stay: 18 x seconds must fit 32 bits.
constexpr int32_t kMaxSeconds = 0x7FFFFFFF / 18;

void DropFront(MessageQueue& q) {
  q.count -= 1;
  std::memmove(&q.slots[0], &q.slots[1], sizeof(MessageSlot) * static_cast<size_t>(q.count));
}

void CopyText(char* to, const char* from) {
  size_t n = 0;
  while (n < kMessageTextBytes - 1 && from[n] != '\0') {
    to[n] = from[n];
    ++n;
  }
  to[n] = '\0';
}

void ShowFront(RallyModule& m) {
  MessageSlot& front = m.messages.slots[0];
  m.host.show_text(m.host.context, front.text, kShowTextFive, front.screen_duration, 0);
  PlayPrompt(m, front.prompt);
  m.messages.countdown = front.display_ticks;
}

void AskForQuizWhenDue(RallyModule& m) {
  if (m.race.quiz_countdown != 1) return;
  // Without the merged popup there is no quiz command: base + 5 would be one
  // of the simulator's own. The countdown stays due until the popup is back.
  if (!MenuTakesCommands(m.menu)) return;
  m.host.issue_command(m.host.context, m.menu.command_base + kQuizCommandSlot, 0);
  m.race.quiz_countdown = 0;
}

void ServiceAlert(RallyModule& m) {
  Alert& a = m.alert;
  if (a.hold_counter == 1) QueueMessage(m, a.text, a.prompt, kAlertSeconds);
  if (a.hold_counter > 0) {
    a.hold_counter += 1;
    if (a.hold_counter >= kAlertHoldTicks) {
      a.hold_counter = 0;
      a.priority = 0;
    }
  }
}

}  // namespace

void QueueMessage(RallyModule& m, const char* text, const char* prompt, int32_t seconds) {
  // A negative time from a course record would never run out and keep the
  // queue showing one message for ever: it counts as no time at all.
  if (IsNoneReference(m.course, text) || seconds <= 0) return;
  if (seconds > kMaxSeconds) seconds = kMaxSeconds;
  MessageQueue& q = m.messages;
  if (q.count == kMessageSlots) {
    DropFront(q);
    q.countdown = 0;
  }
  MessageSlot& slot = q.slots[q.count];
  // The text may be slot 0's own (a repeat into a drained queue): copy it first.
  char copy[kMessageTextBytes];
  CopyText(copy, text);
  std::memcpy(slot.text, copy, sizeof copy);
  slot.prompt = prompt;
  slot.display_ticks = 6 * seconds;
  slot.screen_duration = 18 * seconds;
  q.count += 1;
}

void ClearMessages(RallyModule& m) {
  m.messages.count = 0;
  m.messages.countdown = 0;
  m.alert.priority = 0;
}

void RaiseAlert(RallyModule& m, const char* text, const char* prompt, int32_t priority) {
  Alert& a = m.alert;
  if (a.hold_counter != 0 || priority <= a.priority) return;
  a.text = text;
  a.prompt = prompt;
  a.priority = priority;
  a.hold_counter = 1;
}

void ServiceMessages(RallyModule& m) {
  ServiceAlert(m);
  if (m.race.quiz_countdown > 1) m.race.quiz_countdown -= 1;
  MessageQueue& q = m.messages;
  if (q.count == 0) {
    AskForQuizWhenDue(m);
    return;
  }
  if (q.countdown > 0) {
    q.countdown -= 1;
    if (q.countdown > 0) return;
    // The front message is finished; when it was the last, slot 0 keeps it.
    if (q.count > 1) {
      DropFront(q);
    } else {
      q.count = 0;
    }
  }
  if (q.count > 0) {
    ShowFront(m);
    return;
  }
  if (m.race.score_pending) {
    // Cleared first: a tick that runs inside the dialog's loop must not open
    // the same summary again.
    m.race.score_pending = false;
    if (ModuleDialogOpen(m)) {
      WaitForDialogWithLegSummary(m);
      return;
    }
    OpenScoreSummary(m);
  }
}
