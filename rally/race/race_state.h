#pragma once

#include <cstdint>

#include "rally/host/host_interface.h"

enum RaceState : int32_t {
  kOutOfRace = 0,
  kArmed = 1,
  kLegRunning = 2,
  kNearObjectOuter = 3,
  kNearObjectMiddle = 4,
  kNearObjectInner = 5,
};

// The running leg's score: base, bonus, time, precision, aids, total.
struct LegScore {
  int32_t base;
  int32_t bonus;
  int32_t time;
  int32_t precision;
  int32_t aids;  // next-fix readouts asked for during the leg
  int32_t total;
};

// The object the pilot must reach next, or the bonus object approached.
struct Target {
  bool exists;
  const uint8_t* record;
  HostPosition position;  // the course's 32-bit values in the upper halves
  const char* warning_text;
  const char* warning_voice;
  int32_t smallest_distance;
  int32_t last_distance;
};

// The race engine's module-wide state. At load everything is zero except
// CurrentLeg, which starts at -1 (no leg yet).
struct RaceEngine {
  int32_t state = kOutOfRace;
  int32_t current_leg = -1;
  int32_t tick_count = 0;
  Target target;
  LegScore score;
  int32_t quiz_countdown = 0;  // ticks until the next quiz question; 0 = none
  bool score_pending = false;  // a leg ended: open the score summary once the queue drains
};
