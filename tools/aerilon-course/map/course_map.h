#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/aerilon-course/course_document.h"
#include "tools/aerilon-course/map/flight_outcome.h"
#include "tools/aerilon-course/map/flight_track.h"
#include "tools/aerilon-course/map/map_ground.h"

struct MapSize {
  int width = 1600, height = 1200;  // pixels
};
constexpr int kSmallestMapSide = 200;
constexpr int kLargestMapSide = 10000;

// Draws the course as a PNG picture: legs in distinct colours and
// numbered, start boxes, gates with their direction, waypoints with their
// radius, landing boxes, precision tracks with their radial and tolerance
// wedge, bonus objects, the eight start positions, a latitude/longitude
// grid with labels, a scale bar and north; the flight's track over it, in
// each leg's colour where the leg ran, and the verdicts of its targets;
// under it all, the island's ground when given.
// False with the reason ("FILE: error: ...") when it cannot be drawn or
// written.
bool DrawCourseMap(const CourseDocument& document, const std::vector<TrackPoint>& flight,
                   const std::string& png_path, std::string* error, MapSize size = MapSize{},
                   const std::vector<TargetVerdict>& verdicts = {},
                   const MapGround* ground = nullptr);

// The colours of the map, as 0xRRGGBB: each leg's route and objects (legs
// counted from 0), the flown track and the bonus objects.
uint32_t LegColour(size_t leg);
constexpr uint32_t kFlightTrackColour = 0x000000;
constexpr uint32_t kBonusObjectColour = 0xC99700;
