#pragma once

// Layer rally/ui: what the pilot sees and hears: the message queue and its
// alert, voice prompts, the menu merge, the next-fix readout and the dialog
// models (score summary, quiz, one dialog at a time). It uses state/ and
// the layers below it.

#include <cstdint>

#include "rally/state/message_queue_state.h"

struct RallyModule;

void QueueMessage(RallyModule& m, const char* text, const char* prompt, int32_t seconds);
void ClearMessages(RallyModule& m);
void RaiseAlert(RallyModule& m, const char* text, const char* prompt, int32_t priority);
// The end of every fully processed engine tick.
void ServiceMessages(RallyModule& m);
