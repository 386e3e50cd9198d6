#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "tools/aerilon-course/map/map_labels.h"
#include "tools/aerilon-course/map/map_view.h"

// The ground under a course, from the island's scenery: land areas shaded
// by their height, runways as the strips they are, landmarks named.
struct MapGround {
  struct Area {
    std::vector<GeoPoint> outline;
    int32_t elevation;  // metres
  };
  struct Strip {
    GeoPoint corners[4];
  };
  struct Mark {
    GeoPoint at;
    std::string name;
  };
  std::vector<Area> land;  // a later one over an earlier one
  std::vector<Strip> runways;
  std::vector<Mark> landmarks;
};

// Every corner of the ground, for fitting the view.
std::vector<GeoPoint> GroundExtent(const MapGround& ground);

// Under everything else: the land, then the runways; the landmarks'
// labels join the others.
void DrawGround(cairo_t* cr, const MapView& view, const MapGround& ground, MapLabels* labels);
