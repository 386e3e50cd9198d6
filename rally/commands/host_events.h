#pragma once

#include <cstdint>

struct RallyModule;

// The simulator's key events the module acts on.
constexpr uint32_t kEventNextFix = 0x100BD;       // Ctrl+H, as "&Direzione"
constexpr uint32_t kEventScoreSummary = 0x1013C;  // Ctrl+G, as "Punte&ggio..."
constexpr uint32_t kEventRepeat = 0x10143;        // Ctrl+R, as "&Ripeti Messaggio"

// The kind-11 routine: simulator events, the event id first.
void OnHostEvent(RallyModule& m, uint32_t event_id);
