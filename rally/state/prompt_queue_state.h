#pragma once

#include <cstdint>

// The two voice prompt slots: the prompt that plays and at most one that
// waits for it, each a host sound handle (0 = empty). Prompts never speak
// over each other: of several asked for while one plays, only the last is
// heard after it.
struct PromptQueue {
  uint32_t current;
  uint32_t waiting;
};
