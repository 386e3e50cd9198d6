#pragma once

#include <optional>
#include <string>

#include "tools/aerilon-course/fly/aircraft_motion.h"
#include "tools/aerilon-course/fly/approach_guide.h"

struct RallyModule;

// A record of the running course as the autopilot flies it: the crossing,
// the course the record itself asks for, and whether the aircraft can fly
// its speed range at all.
struct CourseCrossing {
  Crossing crossing;
  std::optional<double> own_course_deg;
  bool speed_possible = true;
  std::string impossible;  // why not, in words
};

// The speed to fly a range at: the manoeuvring speed when the range allows it,
// else the nearest the range and the aircraft both allow, a few knots
// inside; `possible` false when the two do not meet.
double SpeedInside(double low_kt, double high_kt, const AircraftLimits& limits, bool* possible);

CourseCrossing StartBoxCrossing(const RallyModule& m, const uint8_t* record,
                                const AircraftLimits& limits);
// A gate, waypoint or landing. A landing that accepts any direction is
// flown along its box's longer side, from the end nearer the aircraft.
CourseCrossing TargetCrossing(const RallyModule& m, const uint8_t* record,
                              const FlyingAircraft& aircraft, const AircraftLimits& limits);

// While a precision track is active, a crossing that lies on its line (and
// asks for no course across it) is flown along the line itself.
void OnTrack(const RallyModule& m, const FlyingAircraft& aircraft, CourseCrossing* c);
