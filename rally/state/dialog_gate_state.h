#pragma once

#include <cstdint>

// One of the module's dialogs at a time. A modal dialog's loop goes on
// dispatching the thread's messages, the simulator's timers included, so an
// engine tick, a host event or one of the module's commands can arrive while
// a dialog is open. Whatever would open a second dialog then waits here and
// is served as soon as the open dialog has closed.
struct DialogGate {
  bool open;                  // one of the module's dialogs is running
  bool summary_after_leg;     // the score summary of a finished leg waits
  uint32_t waiting_commands;  // menu slots (bit k for slot k) whose command waits
};
