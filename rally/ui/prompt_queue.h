#pragma once

#include <cstdint>

#include "rally/state/prompt_queue_state.h"

struct RallyModule;

// Asks for the prompt with this name ("ADV\RALLY\Start"). A none reference
// (null, or the start of the course image) never reaches the host.
void PlayPrompt(RallyModule& m, const char* name);
// The completion routine given to play_sound: the prompt `handle` ended.
void OnPromptDone(RallyModule& m, uint32_t handle);

bool PromptsPending(const PromptQueue& q);

// The level argument of query_sound_level, and the constants load_sound,
// reload_sound and show_text are called with.
constexpr int32_t kSoundLevelChannel = 4;
constexpr int32_t kSoundKind = 2;
constexpr int32_t kReloadMode = 1;
