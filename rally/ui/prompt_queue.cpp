#include "rally/ui/prompt_queue.h"

#include "rally/state/module.h"

namespace {

// The level is asked for anew at every start: the pilot may have changed it.
void StartPrompt(RallyModule& m, uint32_t handle) {
  HostOps& h = m.host;
  int32_t level = h.query_sound_level(h.context, kSoundLevelChannel);
  h.set_sound_level(h.context, handle, level);
  h.play_sound(h.context, handle, 0, 0, 0, m.routines.prompt_done);
}

// Loads a prompt into a slot; the slot stays empty when the host cannot.
bool LoadInto(RallyModule& m, const char* name, uint32_t* slot) {
  uint32_t handle = 0;
  if (m.host.load_sound(m.host.context, name, kSoundKind, &handle) != 0) handle = 0;
  *slot = handle;
  return handle != 0;
}

}  // namespace

void PlayPrompt(RallyModule& m, const char* name) {
  if (IsNoneReference(m.course, name)) return;
  PromptQueue& q = m.prompts;
  if (q.current == 0) {
    if (LoadInto(m, name, &q.current)) StartPrompt(m, q.current);
  } else if (q.waiting == 0) {
    LoadInto(m, name, &q.waiting);
  } else {
    m.host.reload_sound(m.host.context, name, kSoundKind, q.waiting, kReloadMode);
  }
}

void OnPromptDone(RallyModule& m, uint32_t handle) {
  m.host.release_sound(m.host.context, handle);
  PromptQueue& q = m.prompts;
  q.current = q.waiting;
  if (q.current != 0) {
    q.waiting = 0;
    StartPrompt(m, q.current);
  }
}

bool PromptsPending(const PromptQueue& q) {
  return q.current != 0 || q.waiting != 0;
}
