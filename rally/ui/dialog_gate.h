#pragma once

#include <cstdint>

struct RallyModule;

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

bool ModuleDialogOpen(const RallyModule& m);

// Runs dialog `id` modally, between WM_ENTERMENULOOP and WM_EXITMENULOOP when
// `in_menu_loop`, and returns its result (-1 when it could not be created).
// Only to be called while no dialog is open.
int32_t RunModuleDialog(RallyModule& m, int32_t id, bool in_menu_loop);

// Once no dialog is open: opens what waited, in turn. The opener calls it
// after it has dealt with its own dialog's result.
void ServeWaitingDialogs(RallyModule& m);

// A dialog is open: the command of menu slot `slot`, or the score summary of
// a finished leg, waits for it to close.
void WaitForDialog(RallyModule& m, uint32_t slot);
void WaitForDialogWithLegSummary(RallyModule& m);
