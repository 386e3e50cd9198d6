#pragma once

#include <cstdint>

struct RallyModule;

// Schedules a quiz question after the record's delay.
void SetQuizTimer(RallyModule& m, const uint8_t* record);
