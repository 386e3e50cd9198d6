#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/aerilon-sim/flight_script.h"

// A point of a flown track, in the file's units, with the leg running
// there (from 0; -1 between legs or when not known).
struct TrackPoint {
  int32_t lat, lon, alt;
  int leg = -1;
};

// Reads a flight script of aerilon-sim for the map, its "fly" lines naming
// the course source's places. False with the reason ("FILE:LINE: error:
// what is wrong") when it cannot be read.
bool ReadFlightScriptFile(const std::string& path, const FlightPlaces& places, FlightScript* script,
                          std::string* error);
