#pragma once

#include <cairo.h>

#include <vector>

#include "tools/aerilon-course/map/map_view.h"

// The latitude/longitude grid of the map, with its labels in degrees and
// minutes ("N26 22'") along the right and bottom edges. Returns the areas
// the labels cover.
std::vector<Rect> DrawGrid(cairo_t* cr, const MapView& view);
