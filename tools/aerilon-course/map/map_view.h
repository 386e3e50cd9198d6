#pragma once

#include <cstdint>
#include <vector>

// Where a point of the course falls on the map: an equirectangular
// projection around the middle of what is shown, longitudes scaled by the
// cosine of the middle's latitude (so that near the course angles and
// distances keep their true proportions), north up, pixels from the top
// left. Longitudes are unwrapped around the middle: a course across 180
// degrees stays in one piece.
struct GeoPoint {
  int32_t lat, lon;  // the course file's units
};

struct Pixel {
  double x, y;
};

struct Rect {
  double x0, y0, x1, y1;  // pixels, x0 <= x1 and y0 <= y1
  bool Overlaps(const Rect& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

class MapView {
 public:
  // The view of a `width` x `height` picture that shows every point
  // inside `area`, as large as it fits, and at least `minimum_metres`
  // across and down.
  static MapView Fit(const std::vector<GeoPoint>& points, int width, int height, const Rect& area,
                     double minimum_metres);

  Pixel At(int32_t lat, int32_t lon) const;
  Pixel At(const GeoPoint& point) const { return At(point.lat, point.lon); }
  GeoPoint Middle() const { return middle_; }
  double PixelsPerMetre() const { return pixels_per_metre_; }
  int Width() const { return width_; }
  int Height() const { return height_; }

  // For the grid: the y of a latitude and the x of a longitude (degrees,
  // unwrapped: east of 180 they go on above 180), and back.
  double YOfLatitude(double degrees) const;
  double XOfLongitude(double degrees) const;
  double LatitudeAtY(double y) const;
  double LongitudeAtX(double x) const;

 private:
  int width_ = 0, height_ = 0;
  GeoPoint middle_{0, 0};
  Pixel middle_at_{0, 0};
  double metres_per_lat_unit_ = 1, metres_per_lon_unit_ = 1, pixels_per_metre_ = 1;
};

// The longitude units from `from` to `to` the short way round (east
// positive), as the units wrap at 180 degrees.
int32_t LongitudeUnitsBetween(int32_t from, int32_t to);
