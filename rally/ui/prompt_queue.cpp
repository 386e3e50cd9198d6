#include "rally/ui/prompt_queue.h"

bool PromptsPending(const PromptQueue& q) { return q.current != 0 || q.waiting != 0; }
