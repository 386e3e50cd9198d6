#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/aerilon-course/course_document.h"

// A point of a flown track, in the file's units.
struct TrackPoint {
  int32_t lat, lon, alt;
};

// Reads the positions a flight script of aerilon-sim sets, in order; false
// with the reason ("FILE:LINE: what is wrong") when it cannot be read.
bool ReadFlightTrack(const std::string& path, std::vector<TrackPoint>* track, std::string* error);

// Draws the course as a PNG picture: legs in distinct colours and
// numbered, start boxes, gates with their direction, waypoints with their
// radius, landing boxes, precision tracks with their radial and tolerance
// wedge, bonus objects, the eight start positions, a latitude/longitude
// grid with labels, a scale bar and north; the flight's track over it.
bool DrawCourseMap(const CourseDocument& document, const std::vector<TrackPoint>& flight,
                   const std::string& png_path, std::string* error);
