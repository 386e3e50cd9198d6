#pragma once

#include <cstdint>

struct RallyModule;

// A timed message with its voice, run as soon as the engine reaches it.
void RunMessageRecord(RallyModule& m, const uint8_t* record);
