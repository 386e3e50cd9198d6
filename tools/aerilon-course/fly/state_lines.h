#pragma once

#include <optional>

#include "tools/aerilon-course/fly/aircraft_motion.h"
#include "tools/aerilon-sim/flight_script.h"

// The aircraft as flight script "state" lines, in the file's units: the
// first line sets every field (and clears crash, slew and pause), each
// later one only the fields that changed; nothing when none did.
class StateLines {
 public:
  std::optional<FlightLine> Next(const FlyingAircraft& aircraft, int64_t tick);

 private:
  bool written_ = false;
  SimAircraftChange last_;
};
