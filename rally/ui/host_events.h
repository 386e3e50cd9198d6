#pragma once

#include <cstdint>

struct RallyModule;

// The kind-11 routine: simulator events, the event id first.
void OnHostEvent(RallyModule& m, uint32_t event_id);
