#include "tools/aerilon-scenery/island/island_map.h"

#include <cmath>

#include "tools/aerilon-course/source/designer_units.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

GeoPoint MapPoint(IslandPoint p) {
  return GeoPoint{p.lat, p.lon};
}

// A corner of a runway: `along` metres down its heading from the centre
// and `across` to its right.
GeoPoint Corner(const Runway& r, double along, double across) {
  double h = r.heading * kPi / 180;
  double north = along * std::cos(h) - across * std::sin(h);
  double east = along * std::sin(h) + across * std::cos(h);
  int32_t lat = 0, lon = 0;
  designer_units::OffsetNorthEast(r.centre.lat, r.centre.lon, north, east, &lat, &lon);
  return GeoPoint{lat, lon};
}

}  // namespace

MapGround GroundOf(const Island& island) {
  MapGround ground;
  for (const LandArea& area : island.land) {
    MapGround::Area a{{}, area.elevation};
    for (IslandPoint p : area.outline) a.outline.push_back(MapPoint(p));
    ground.land.push_back(a);
  }
  for (const Airfield& field : island.airfields) {
    for (const Runway& r : field.runways) {
      double l = r.length / 2, w = r.width / 2;
      ground.runways.push_back(MapGround::Strip{
          {Corner(r, l, -w), Corner(r, l, w), Corner(r, -l, w), Corner(r, -l, -w)}});
    }
  }
  for (const Landmark& l : island.landmarks) ground.landmarks.push_back({MapPoint(l.at), l.name});
  return ground;
}
