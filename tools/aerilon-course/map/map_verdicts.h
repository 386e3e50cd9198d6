#pragma once

#include <cairo.h>

#include <vector>

#include "course_model/course.h"
#include "tools/aerilon-course/map/flight_outcome.h"
#include "tools/aerilon-course/map/map_view.h"

// Each target the flight came to marked where it stands: a green disc
// with a tick when the engine counted it met, a red one with a cross when
// not. The last verdict of a target is the one shown.
void DrawVerdicts(cairo_t* cr, const MapView& view, const course_model::Course& course,
                  const std::vector<TargetVerdict>& verdicts);
