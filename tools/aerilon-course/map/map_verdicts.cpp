#include "tools/aerilon-course/map/map_verdicts.h"

#include <map>
#include <optional>
#include <utility>

#include "tools/aerilon-course/map/map_objects.h"
#include "tools/aerilon-course/map/map_paint.h"

namespace {

constexpr Rgb kMetColour{0.13, 0.55, 0.13};
constexpr Rgb kMissedColour{0.80, 0.10, 0.10};
constexpr double kMarkRadius = 9;

// Where the k-th target of a leg stands.
std::optional<GeoPoint> NthTarget(const course_model::Course& course, size_t leg, size_t k) {
  if (leg >= course.legs.size()) return std::nullopt;
  size_t seen = 0;
  for (const course_model::LegRecord& r : course.legs[leg].records) {
    std::optional<GeoPoint> at = TargetPoint(r);
    if (at && seen++ == k) return at;
  }
  return std::nullopt;
}

void Mark(cairo_t* cr, Pixel at, bool met) {
  // Beside the target's own symbol, up and to the right.
  double x = at.x + 14, y = at.y - 14;
  cairo_arc(cr, x, y, kMarkRadius, 0, 2 * kPi);
  SetColour(cr, met ? kMetColour : kMissedColour);
  cairo_fill_preserve(cr);
  SetColour(cr, Rgb{1, 1, 1});
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  cairo_set_line_width(cr, 2.5);
  if (met) {
    cairo_move_to(cr, x - 4.5, y);
    cairo_line_to(cr, x - 1, y + 4);
    cairo_line_to(cr, x + 5, y - 4);
  } else {
    cairo_move_to(cr, x - 4, y - 4);
    cairo_line_to(cr, x + 4, y + 4);
    cairo_move_to(cr, x + 4, y - 4);
    cairo_line_to(cr, x - 4, y + 4);
  }
  cairo_stroke(cr);
}

}  // namespace

void DrawVerdicts(cairo_t* cr, const MapView& view, const course_model::Course& course,
                  const std::vector<TargetVerdict>& verdicts) {
  std::map<std::pair<size_t, size_t>, bool> last;
  for (const TargetVerdict& v : verdicts) last[{v.leg, v.target}] = v.met;
  cairo_save(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (const auto& [target, met] : last) {
    std::optional<GeoPoint> at = NthTarget(course, target.first, target.second);
    if (at) Mark(cr, view.At(at->lat, at->lon), met);
  }
  cairo_restore(cr);
}
