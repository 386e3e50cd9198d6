#pragma once

#include <cstdint>

struct RallyModule;

// The leg records the engine executes as soon as it reaches them (the
// precision track records are in precision_track.h).

// A timed message with its voice.
void RunMessageRecord(RallyModule& m, const uint8_t* record);
// An item picked up: points for the leg, its name remembered in its slot.
void Collect(RallyModule& m, const uint8_t* record);
// Schedules a quiz question after the record's delay.
void SetQuizTimer(RallyModule& m, const uint8_t* record);
