#pragma once

#include <cstddef>
#include <vector>

#include "tools/aerilon-course/map/flight_track.h"

// What the race engine decided of a target on a flight: met, or not met
// when its leg ended or the flight stopped without it.
struct TargetVerdict {
  size_t leg;     // from 0
  size_t target;  // the leg's gates, waypoints and landings, from 0
  bool met;
};

// A flight as the map draws it once it has been flown through the module:
// the track, each point with the leg that was running there, and the
// verdict of every target the flight came to.
struct FlightOutcome {
  std::vector<TrackPoint> track;
  std::vector<TargetVerdict> verdicts;
};
