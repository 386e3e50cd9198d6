#pragma once

struct RallyModule;

// "&Direzione" (Ctrl+H): distance, magnetic bearing and altitude of the next
// fix, for 4 seconds, while a leg runs and has a target. Costs an aid.
void ShowNextFixInfo(RallyModule& m);
// "&Ripeti Messaggio" (Ctrl+R): the last message again, with its prompt and
// its seconds, while a leg runs and nothing waits.
void RepeatLastMessage(RallyModule& m);

// The degree factor: 360/65536 enlarged by 155 units in the last place.
double NextFixDegreeFactor();
