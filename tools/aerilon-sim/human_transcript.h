#pragma once

#include <ostream>

#include "tools/aerilon-sim/json_transcript.h"

// The transcript as a readable log: one line per call with the time in
// seconds since the first tick and the tick, the on-screen texts and voice
// prompts in words, dialogs as boxes of their controls' texts, and the
// summary at the end. Same content as the JSON lines, same order.
void WriteHumanLine(std::ostream& out, const TranscriptLine& line);
