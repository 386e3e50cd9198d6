#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A point of a flown track, in the file's units.
struct TrackPoint {
  int32_t lat, lon, alt;
};

// Reads the positions a flight script of aerilon-sim sets, in order: each
// "state" line that sets the latitude, longitude or altitude (what it
// leaves out holds) and each "position:N" command, once both latitude and
// longitude are known. False with the reason ("FILE:LINE: error: what is
// wrong") when it cannot be read.
bool ReadFlightTrack(const std::string& path, std::vector<TrackPoint>* track, std::string* error);
