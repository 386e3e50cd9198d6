#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/aerilon-course/diagnostics.h"

// What the autopilot's aircraft can do. It never flies beyond these, so a
// leg it cannot fly is one a pilot of that aircraft could not fly either.
// Speeds are true airspeeds in still air (the stand-in has no wind).
struct AircraftLimits {
  std::string name;
  double cruise_speed_kt = 0;    // what it flies where a target asks for no speed
  double approach_speed_kt = 0;  // on final and at touchdown
  double min_speed_kt = 0;       // the slowest it flies in the air (stall with a margin)
  double max_speed_kt = 0;       // never exceeded
  double rotate_speed_kt = 0;    // it leaves the ground at this speed
  double climb_rate_fpm = 0;     // best rate of climb
  double descent_rate_fpm = 0;   // the steepest descent it flies
  double max_bank_deg = 0;       // turns: rate = g tan(bank) / speed ...
  double max_turn_rate_dps = 0;  // ... and never faster than this
  double acceleration_kt_s = 0;  // speed change in the air, either way
  double takeoff_roll_m = 0;     // ground run to the rotation speed
  double landing_roll_m = 0;     // ground run from the approach speed to a stop
};

// A light single-engine aircraft of the simulator's default kind (a
// four-seat high-wing piston single), from its published handbook figures
// at sea level; examples/aircraft/light_single.toml holds the same values.
AircraftLimits DefaultAircraft();

// An aircraft file (TOML, the keys of examples/aircraft/light_single.toml);
// nullopt with the problems, each at its line, when it cannot be flown.
std::optional<AircraftLimits> ReadAircraftFile(const std::string& path,
                                               std::vector<Diagnostic>* problems);

// The names of the examples/aircraft files built into the tool ("light_single").
std::optional<AircraftLimits> BuiltInAircraft(const std::string& name);
std::vector<std::string> BuiltInAircraftNames();
