#include "tools/aerilon-scenery/island/island_geometry.h"

#include <algorithm>
#include <cmath>

#include "tools/aerilon-course/source/designer_units.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

double Radians(double degrees) {
  return degrees * kPi / 180;
}

// Even-odd rule on the outline, in metres around the point.
bool InsideOutline(const std::vector<IslandPoint>& outline, IslandPoint p) {
  bool inside = false;
  for (size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
    IslandOffset a = OffsetFrom(p, outline[i]), b = OffsetFrom(p, outline[j]);
    if ((a.north > 0) != (b.north > 0) &&
        0 < a.east + (b.east - a.east) * (0 - a.north) / (b.north - a.north)) {
      inside = !inside;
    }
  }
  return outline.size() >= 3 && inside;
}

}  // namespace

IslandOffset OffsetFrom(IslandPoint from, IslandPoint to) {
  // Longitude words differ as 32-bit angles: across 180 degrees too.
  int32_t lon_units =
      static_cast<int32_t>(static_cast<uint32_t>(to.lon) - static_cast<uint32_t>(from.lon));
  int32_t middle = static_cast<int32_t>((int64_t{from.lat} + to.lat) / 2);
  return IslandOffset{
      lon_units * designer_units::MetresPerLongitudeUnit(middle),
      (static_cast<double>(to.lat) - from.lat) * designer_units::MetresPerLatitudeUnit()};
}

RunwayPlace PlaceOnRunway(const Runway& r, IslandPoint point) {
  IslandOffset o = OffsetFrom(r.centre, point);
  double h = Radians(r.heading);
  RunwayPlace place;
  place.along = o.east * std::sin(h) + o.north * std::cos(h);
  place.across = o.east * std::cos(h) - o.north * std::sin(h);
  place.inside = std::fabs(place.along) <= r.length / 2 && std::fabs(place.across) <= r.width / 2;
  return place;
}

std::optional<int32_t> GroundElevation(const Island& island, IslandPoint point) {
  for (const Airfield& field : island.airfields) {
    for (const Runway& r : field.runways) {
      RunwayPlace p = PlaceOnRunway(r, point);
      if (std::fabs(p.along) <= r.length / 2 + kAirfieldMarginMetres &&
          std::fabs(p.across) <= r.width / 2 + kAirfieldMarginMetres) {
        return field.elevation;
      }
    }
  }
  for (auto area = island.land.rbegin(); area != island.land.rend(); ++area) {
    if (InsideOutline(area->outline, point)) return area->elevation;
  }
  return std::nullopt;
}

bool IslandBounds::Contains(IslandPoint p) const {
  return p.lat >= south && p.lat <= north && p.lon >= west && p.lon <= east;
}

IslandBounds BoundsOf(const Island& island) {
  std::vector<IslandPoint> points;
  for (const LandArea& area : island.land) {
    points.insert(points.end(), area.outline.begin(), area.outline.end());
  }
  for (const Airfield& field : island.airfields) {
    for (const Runway& r : field.runways) points.push_back(r.centre);
  }
  for (const Landmark& l : island.landmarks) points.push_back(l.at);
  IslandBounds b;
  if (points.empty()) return b;
  b.south = b.north = points[0].lat;
  b.west = b.east = points[0].lon;
  for (IslandPoint p : points) {
    b.south = std::min(b.south, p.lat);
    b.north = std::max(b.north, p.lat);
    b.west = std::min(b.west, p.lon);
    b.east = std::max(b.east, p.lon);
  }
  return b;
}

double RunwayHeadingOff(const Runway& runway, double heading) {
  double d = std::fmod(std::fabs(runway.heading - heading), 180.0);
  return std::min(d, 180 - d);
}
