#pragma once

#include <cstdint>

// The two voice prompt slots: the prompt that plays and at most one that
// waits for it. 0 = empty.
struct PromptQueue {
  uint32_t current;
  uint32_t waiting;
};

bool PromptsPending(const PromptQueue& q);
