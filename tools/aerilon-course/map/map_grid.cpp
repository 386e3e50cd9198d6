#include "tools/aerilon-course/map/map_grid.h"

#include <cmath>
#include <string>

#include "tools/aerilon-course/map/map_paint.h"
#include "tools/aerilon-course/source/designer_units.h"

namespace du = designer_units;

namespace {

const Rgb kGridColour{0.55, 0.6, 0.68};
constexpr double kMinimumGridPixels = 160;
constexpr double kLabelSize = 13;

// The smallest step of whole minutes (1', 2', 5', ... 30', 1 degree and
// more) that puts grid lines at least kMinimumGridPixels apart.
double GridStepDegrees(double pixels_per_degree) {
  static const double kMinutes[] = {1, 2, 5, 10, 15, 30, 60, 120, 300, 600, 1200, 1800, 3600};
  for (double minutes : kMinutes) {
    if (minutes / 60 * pixels_per_degree >= kMinimumGridPixels) return minutes / 60;
  }
  return 60;
}

// A grid value as "N26 22'"; longitudes unwrapped past 180 come back into
// -180 to 180 first.
std::string LatitudeLabel(double degrees) {
  return du::LatitudeText(degrees, 0) + "'";
}
std::string LongitudeLabel(double degrees) {
  double wrapped = std::fmod(degrees + 540.0, 360.0) - 180.0;
  if (wrapped == -180.0) wrapped = 180.0;  // the date line is called east
  return du::LongitudeText(wrapped, 0) + "'";
}

void GridLine(cairo_t* cr, double x0, double y0, double x1, double y1) {
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  cairo_stroke(cr);
}

}  // namespace

std::vector<Rect> DrawGrid(cairo_t* cr, const MapView& view) {
  double width = view.Width(), height = view.Height();
  double south = view.LatitudeAtY(height), north = view.LatitudeAtY(0);
  double west = view.LongitudeAtX(0), east = view.LongitudeAtX(width);
  double lat_step = GridStepDegrees(height / (north - south));
  double lon_step = GridStepDegrees(width / (east - west));
  std::vector<Rect> labels;
  cairo_save(cr);
  SetColour(cr, kGridColour, 0.7);
  cairo_set_line_width(cr, 1);
  for (double k = std::ceil(south / lat_step); k * lat_step <= north; ++k) {
    double lat = k * lat_step, y = view.YOfLatitude(lat);
    GridLine(cr, 0, y, width, y);
    std::string text = LatitudeLabel(lat);
    Label(cr, Pixel{width - 6, y - 4}, text, kLabelSize, kGridColour, Anchor::kRight);
    labels.push_back({width - 6 - TextWidth(cr, text, kLabelSize), y - 4 - kLabelSize, width, y});
    SetColour(cr, kGridColour, 0.7);
  }
  for (double k = std::ceil(west / lon_step); k * lon_step <= east; ++k) {
    double lon = k * lon_step, x = view.XOfLongitude(lon);
    GridLine(cr, x, 0, x, height);
    std::string text = LongitudeLabel(lon);
    Label(cr, Pixel{x + 4, height - 8}, text, kLabelSize, kGridColour);
    labels.push_back({x, height - 8 - kLabelSize, x + 4 + TextWidth(cr, text, kLabelSize), height});
    SetColour(cr, kGridColour, 0.7);
  }
  cairo_restore(cr);
  return labels;
}
