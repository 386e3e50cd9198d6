#pragma once

#include <cstdint>

struct RallyModule;

// What the menu's race commands do to the race. The menu dispatch calls
// these; they decide everything and touch the simulator only through the
// host interface.

// "&Entra in gara" / "&Esci di gara": leaves a running leg, otherwise arms.
void ToggleRace(RallyModule& m);
// Back to OutOfRace with no leg, and the message queue emptied. Used by the
// crash, slew, teleport and abort paths.
void ResetRace(RallyModule& m);
// The score summary's "&Esci di gara": the "Tratta interrotta" notice while
// in the race, then the race reset in every state.
void AbortRaceFromSummary(RallyModule& m);
// "&Posizioni": slots 6 to 13 move the aircraft to a start position.
void MoveToStartPosition(RallyModule& m, uint32_t slot);
