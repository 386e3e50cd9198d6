#include "tools/aerilon-course/map/map_view.h"

#include <algorithm>

#include "tools/aerilon-course/source/designer_units.h"

namespace du = designer_units;

int32_t LongitudeUnitsBetween(int32_t from, int32_t to) {
  return static_cast<int32_t>(static_cast<uint32_t>(to) - static_cast<uint32_t>(from));
}

MapView MapView::Fit(const std::vector<GeoPoint>& points, int width, int height, const Rect& area,
                     double minimum_metres) {
  MapView view;
  view.width_ = width;
  view.height_ = height;
  // Every point relative to the first, so that longitudes unwrap around it.
  GeoPoint anchor = points.empty() ? GeoPoint{0, 0} : points.front();
  double north = 0, south = 0, east = 0, west = 0;
  for (const GeoPoint& p : points) {
    double dlat = static_cast<double>(p.lat) - anchor.lat;
    double dlon = LongitudeUnitsBetween(anchor.lon, p.lon);
    north = std::max(north, dlat), south = std::min(south, dlat);
    east = std::max(east, dlon), west = std::min(west, dlon);
  }
  view.middle_.lat = static_cast<int32_t>(anchor.lat + (north + south) / 2);
  view.middle_.lon =
      static_cast<int32_t>(static_cast<uint32_t>(anchor.lon) +
                           static_cast<uint32_t>(static_cast<int64_t>((east + west) / 2)));
  view.metres_per_lat_unit_ = du::MetresPerLatitudeUnit();
  view.metres_per_lon_unit_ = du::MetresPerLongitudeUnit(view.middle_.lat);
  double across = std::max((east - west) * view.metres_per_lon_unit_, minimum_metres);
  double down = std::max((north - south) * view.metres_per_lat_unit_, minimum_metres);
  view.pixels_per_metre_ =
      std::min(std::max(area.x1 - area.x0, 1.0) / across, std::max(area.y1 - area.y0, 1.0) / down);
  view.middle_at_ = Pixel{(area.x0 + area.x1) / 2, (area.y0 + area.y1) / 2};
  return view;
}

Pixel MapView::At(int32_t lat, int32_t lon) const {
  double north = (static_cast<double>(lat) - middle_.lat) * metres_per_lat_unit_;
  double east = LongitudeUnitsBetween(middle_.lon, lon) * metres_per_lon_unit_;
  return Pixel{middle_at_.x + east * pixels_per_metre_, middle_at_.y - north * pixels_per_metre_};
}

double MapView::YOfLatitude(double degrees) const {
  double north = (degrees * du::kLatitudeUnitsPerDegree - middle_.lat) * metres_per_lat_unit_;
  return middle_at_.y - north * pixels_per_metre_;
}

double MapView::XOfLongitude(double degrees) const {
  double east = (degrees * du::kLongitudeUnitsPerDegree - middle_.lon) * metres_per_lon_unit_;
  return middle_at_.x + east * pixels_per_metre_;
}

double MapView::LatitudeAtY(double y) const {
  double north = (middle_at_.y - y) / pixels_per_metre_;
  return (middle_.lat + north / metres_per_lat_unit_) / du::kLatitudeUnitsPerDegree;
}

double MapView::LongitudeAtX(double x) const {
  double east = (x - middle_at_.x) / pixels_per_metre_;
  return (middle_.lon + east / metres_per_lon_unit_) / du::kLongitudeUnitsPerDegree;
}
