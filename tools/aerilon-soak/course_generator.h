#pragma once

#include "course_model/course.h"
#include "tools/aerilon-soak/soak_random.h"

// Random but valid courses in the writer's model: legs of gates,
// waypoints, landings, tracks, collectibles, messages and quiz timers,
// bonus objects and quiz questions, all within some ten kilometres of a
// random base point, so that a flight steered at them reaches them. The
// base keeps clear of the poles and of the longitudes where the 32-bit
// words wrap (0 and 180 degrees), which no real course straddles.
course_model::Course GenerateCourse(SoakRandom& random);
