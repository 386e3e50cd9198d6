#pragma once

#include <cstdint>

#include "rally/state/dialog_gate_state.h"

struct RallyModule;

bool ModuleDialogOpen(const RallyModule& m);

// Runs dialog `id` modally, between WM_ENTERMENULOOP and WM_EXITMENULOOP when
// `in_menu_loop`, and returns its result (-1 when it could not be created).
// Only to be called while no dialog is open.
int32_t RunModuleDialog(RallyModule& m, int32_t id, bool in_menu_loop);

// A dialog is open: the command of menu slot `slot`, or the score summary of
// a finished leg, waits for it to close.
void WaitForDialog(RallyModule& m, uint32_t slot);
void WaitForDialogWithLegSummary(RallyModule& m);
