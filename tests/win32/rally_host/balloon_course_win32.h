#pragma once

#include <cstdint>

#include "course_model/course.h"
#include "sim/sim_host.h"

// The sample course with one balloon worth 50 points, armed in condition 0
// whatever the aircraft does: flying into it awards the points, shows the
// award and writes the score file.
course_model::Course BalloonCourse();

// The aircraft `metres_north` of the balloon's centre, at its altitude.
void PlaceAircraft(SimHost& host, int32_t metres_north);

// From far away into the outer box, then to the centre: the award, in the
// second of the two ticks.
class DllRun;
void FlyIntoTheBalloon(DllRun& run);
