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
// When the leg has no target left, `exists` is false and the position and
// warning of the last target stay.
struct Target {
  bool exists;
  const uint8_t* record;
  HostPosition position;  // the course's 32-bit values in the upper halves
  const char* warning_text;
  const char* warning_voice;
  int32_t smallest_distance;
  int32_t last_distance;
};

// A radial to hold: the largest deviation beyond the tolerance is charged
// to the leg's precision score when the track closes.
struct PrecisionTrack {
  bool active;
  int64_t reference_latitude;  // the course's values in the upper halves
  int64_t reference_longitude;
  uint16_t radial;
  int32_t tolerance;          // heading units, 0 to 65535
  int32_t weight;             // penalty points per degree beyond the tolerance, >= 0
  int32_t near_zone;          // metres around the reference point where nothing is measured
  int32_t largest_deviation;  // 0 = none beyond the tolerance yet
};

// The race engine's module-wide state. At load everything is zero except
// CurrentLeg, which starts at -1 (no leg yet).
struct RaceEngine {
  int32_t state = kOutOfRace;
  int32_t current_leg = -1;
  int32_t valid_run = 0;  // 1: every earlier leg has a recorded positive total
  int32_t tick_count = 0;
  const uint8_t* record = nullptr;  // next record of the leg, or the bonus object approached
  Target target;
  LegScore score;
  PrecisionTrack track;
  int32_t landing_dwell = 0;   // consecutive ground ticks inside the landing box
  int32_t quiz_countdown = 0;  // ticks until the next quiz question; 0 = none
  bool score_pending = false;  // a leg ended: open the score summary once the queue drains
};
