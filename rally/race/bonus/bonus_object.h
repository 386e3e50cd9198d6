#pragma once

#include <cstdint>

#include "rally/race/aircraft_sample.h"

struct RallyModule;

// The free bonus and malus objects of the entry table: three nested boxes
// round a centre, each with conditions that refuse the aircraft (moving, on
// the ground, airborne). An object is approached from outside its middle
// box and awarded in its inner box.

// Whether the entry scan starts an approach: the object exists in this
// condition, the outer box's conditions allow the aircraft, and it is
// inside the outer box (bounds included) but not inside the middle box.
bool BonusObjectArms(const uint8_t* object, const AircraftSample& a);

enum class ApproachStep {
  kKeepWatching,  // outer or middle box: the per-tick tail runs
  kWaitInside,    // inner box, refused for now: the tick ends here
  kDone,          // awarded, left or refused: back to the record loop, out of the race
};
// The record dispatch's step at the object being approached.
ApproachStep ApproachBonusObject(RallyModule& m, const uint8_t* object);

// Box condition bits.
constexpr int32_t kRefusedMoving = 1 << 0;
constexpr int32_t kRefusedAirborne = 1 << 2;
constexpr int32_t kRefusedOnGround = 1 << 3;
// Object flag: the value is a percentage of the overall result, not points.
constexpr int32_t kPercentageValue = 1 << 4;
constexpr int32_t kFirstConditionBit = 6;
