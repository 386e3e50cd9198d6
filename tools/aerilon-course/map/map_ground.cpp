#include "tools/aerilon-course/map/map_ground.h"

#include <algorithm>

#include "common/printable_text.h"
#include "tools/aerilon-course/map/map_paint.h"

namespace {

constexpr Rgb kSea{0.86, 0.92, 0.97};
constexpr Rgb kRunway{0.35, 0.35, 0.38};
constexpr Rgb kLandmark{0.25, 0.2, 0.15};

// Low ground pale green, high ground tan: a hypsometric tint to 1000 m.
Rgb LandTint(int32_t elevation) {
  double t = std::clamp(elevation / 1000.0, 0.0, 1.0);
  Rgb low{0.86, 0.93, 0.82}, high{0.87, 0.80, 0.66};
  return Rgb{low.r + (high.r - low.r) * t, low.g + (high.g - low.g) * t,
             low.b + (high.b - low.b) * t};
}

void Path(cairo_t* cr, const MapView& view, const GeoPoint* points, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    Pixel p = view.At(points[i]);
    if (i == 0) {
      cairo_move_to(cr, p.x, p.y);
    } else {
      cairo_line_to(cr, p.x, p.y);
    }
  }
  cairo_close_path(cr);
}

}  // namespace

std::vector<GeoPoint> GroundExtent(const MapGround& ground) {
  std::vector<GeoPoint> points;
  for (const MapGround::Area& area : ground.land) {
    points.insert(points.end(), area.outline.begin(), area.outline.end());
  }
  return points;
}

void DrawGround(cairo_t* cr, const MapView& view, const MapGround& ground, MapLabels* labels) {
  if (ground.land.empty()) return;
  cairo_save(cr);
  SetColour(cr, kSea);
  cairo_paint(cr);
  for (const MapGround::Area& area : ground.land) {
    Path(cr, view, area.outline.data(), area.outline.size());
    SetColour(cr, LandTint(area.elevation));
    cairo_fill_preserve(cr);
    SetColour(cr, Rgb{0.55, 0.62, 0.5});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
  }
  for (const MapGround::Strip& strip : ground.runways) {
    Path(cr, view, strip.corners, 4);
    SetColour(cr, kRunway);
    cairo_fill_preserve(cr);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);  // a strip narrower than a pixel still shows
  }
  for (const MapGround::Mark& mark : ground.landmarks) {
    Pixel at = view.At(mark.at);
    cairo_rectangle(cr, at.x - 3, at.y - 3, 6, 6);
    SetColour(cr, kLandmark);
    cairo_fill(cr);
    labels->Add(Rect{at.x - 4, at.y - 4, at.x + 4, at.y + 4},
                PrintableText(mark.name, TextEncoding::kUtf8), "", kLandmark);
  }
  cairo_restore(cr);
}
