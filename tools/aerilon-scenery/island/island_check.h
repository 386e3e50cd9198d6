#pragma once

#include <vector>

#include "tools/aerilon-course/course_document.h"
#include "tools/aerilon-course/diagnostics.h"
#include "tools/aerilon-scenery/island/island.h"

// What must agree between the island, the module and the courses flown on
// it, as errors at the island's lines:
// - each of the module's eight start positions stands on a runway (inside
//   its length and width), facing along it within 5 degrees, on ground at
//   its field's elevation (the position's whole metres; the fraction
//   above them is the aircraft's height over the ground);
// - each landing box of the courses has its centre and the points a
//   quarter of its length to either side on a runway, the runway within 5
//   degrees of the landing's required direction, the field's elevation
//   the landing's altitude;
// - each target, start box and bonus object of the courses lies inside
//   the island's bounds;
// - no runway lies over the sea, no landmark on a runway.
std::vector<Diagnostic> CheckIsland(const Island& island,
                                    const std::vector<CourseDocument>& courses);

constexpr double kRunwayHeadingTolerance = 5;  // degrees
