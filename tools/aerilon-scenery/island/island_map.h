#pragma once

#include "tools/aerilon-course/map/map_ground.h"
#include "tools/aerilon-scenery/island/island.h"

// The island as the course map draws it under a course.
MapGround GroundOf(const Island& island);
