#pragma once

#include <optional>

#include "tools/aerilon-course/fly/aircraft_model.h"
#include "tools/aerilon-course/fly/local_frame.h"

// The autopilot's aircraft as it moves: a point with a speed along its
// heading, turning, climbing and changing speed no faster than its limits
// allow (bank and turn rates are taken at once, without roll-in).
struct FlyingAircraft {
  LatLon position;
  double altitude_m = 0;
  double speed_kt = 0;
  double heading_deg = 0;
  bool on_ground = true;
};

// What the pilot asks for on one step.
struct MotionCommand {
  double heading_deg = 0;
  double altitude_m = 0;
  double speed_kt = 0;
  // On the ground: keep rolling (accelerate or brake to speed_kt) rather
  // than take off.
  bool stay_on_ground = false;
  // In the air: the ground's altitude where it is to touch down; without
  // it the aircraft never meets the ground.
  std::optional<double> touchdown_altitude_m;
};

constexpr double kMetresPerSecondPerKnot = 1852.0 / 3600.0;
constexpr double kMetresPerFoot = 0.3048;

// The radius of the tightest turn at `speed_kt`, in metres.
double TurnRadius(const AircraftLimits& limits, double speed_kt);
// Degrees a second of the tightest turn at `speed_kt`.
double TurnRate(const AircraftLimits& limits, double speed_kt);

// The speed the autopilot flies a course's turns at: its cruise speed, or
// slower down to its approach speed while the tightest turn at cruise
// would be wider than kManoeuvreRadiusMetres (a jet over a small island).
constexpr double kManoeuvreRadiusMetres = 2000;
double ManoeuvringSpeed(const AircraftLimits& limits);

// Moves the aircraft `seconds` on.
void StepAircraft(FlyingAircraft& a, const MotionCommand& command, const AircraftLimits& limits,
                  double seconds);
