#include "tools/aerilon-course/map/map_legend.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/printable_text.h"

#include "tools/aerilon-course/map/course_map.h"
#include "tools/aerilon-course/map/map_objects.h"
#include "tools/aerilon-course/source/designer_units.h"

namespace src = course_model;
namespace du = designer_units;

namespace {

constexpr double kCorner = 14;       // from the picture's edges
constexpr double kPadding = 14;      // inside the box
constexpr double kLineHeight = 22;   // one line of the key
constexpr double kLongestBar = 200;  // pixels
constexpr double kHeaderHeight = 64, kBarsHeight = 54;
constexpr double kTextSize = 14, kTitleSize = 20;

double RouteMetres(const src::Leg& leg) {
  GeoPoint last = BoxMiddle(leg.start.box);
  double metres = 0;
  for (const src::LegRecord& record : leg.records) {
    if (std::optional<GeoPoint> target = TargetPoint(record)) {
      metres += du::GroundDistance(last.lat, last.lon, target->lat, target->lon);
      last = *target;
    }
  }
  return metres;
}

size_t TargetCount(const src::Leg& leg) {
  return std::count_if(leg.records.begin(), leg.records.end(),
                       [](const src::LegRecord& r) { return TargetPoint(r).has_value(); });
}

// The nicest round length (1, 2 or 5 times a power of ten) not above
// `limit`.
double RoundLengthBelow(double limit) {
  double power = std::pow(10.0, std::floor(std::log10(limit)));
  for (double factor : {5.0, 2.0}) {
    if (factor * power <= limit) return factor * power;
  }
  return power;
}

// One bar of alternating black and white quarters, its length after it.
void Bar(cairo_t* cr, Pixel left, double length, const char* unit, double pixels_per_unit) {
  double pixels = length * pixels_per_unit;
  const double height = 7;
  cairo_set_line_width(cr, 1);
  for (int i = 0; i < 4; ++i) {
    cairo_rectangle(cr, left.x + i * pixels / 4, left.y, pixels / 4, height);
    if (i % 2 == 0)
      SetColour(cr, kInk);
    else
      cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill_preserve(cr);
    SetColour(cr, kInk);
    cairo_stroke(cr);
  }
  char text[32];
  std::snprintf(text, sizeof text, length < 1 ? "%.1f %s" : "%.0f %s", length, unit);
  Label(cr, Pixel{left.x + pixels + 8, left.y + height}, text, 13, kInk);
}

}  // namespace

MapLegend::MapLegend(cairo_t* cr, const src::Course& course, bool with_flight, bool with_verdicts)
    : title_(course.first_title.empty()
                 ? "Course"
                 : PrintableText(course.first_title, TextEncoding::kWindows1252)),
      subtitle_(PrintableText(course.second_title, TextEncoding::kWindows1252)) {
  for (size_t i = 0; i < course.legs.size(); ++i) {
    char text[96];
    std::snprintf(text, sizeof text, "Leg %zu: %zu targets, %.1f km", i + 1,
                  TargetCount(course.legs[i]), RouteMetres(course.legs[i]) / 1000);
    lines_.push_back({Line::kLine, RgbOf(LegColour(i)), text});
  }
  if (with_flight) {
    lines_.push_back(
        {Line::kLine, RgbOf(kFlightTrackColour),
         with_verdicts ? "flown track, in a leg's colour while it runs" : "flown track"});
  }
  if (with_verdicts) {
    lines_.push_back({Line::kLine, Rgb{0.13, 0.55, 0.13}, "target met (tick)"});
    lines_.push_back({Line::kLine, Rgb{0.80, 0.10, 0.10}, "target not met (cross)"});
  }
  if (!course.bonus_objects.empty()) {
    lines_.push_back(
        {Line::kBonus, RgbOf(kBonusObjectColour), "bonus object: outer, middle, inner box"});
  }
  lines_.push_back({Line::kAircraft, kAirfieldColour, "P1-P8: start positions (Posizioni menu)"});
  lines_.push_back({Line::kDirections, kInk, "required direction; any direction"});
  // The north arrow stands right of the titles; the bars' labels right of the bars.
  double width =
      std::max(TextWidth(cr, title_, kTitleSize, true), TextWidth(cr, subtitle_, kTextSize)) + 50;
  width = std::max(width, kLongestBar + 60);
  for (const Line& line : lines_) width = std::max(width, 36 + TextWidth(cr, line.text, kTextSize));
  area_ = Rect{kCorner, kCorner, kCorner + width + 2 * kPadding,
               kCorner + kHeaderHeight + kLineHeight * lines_.size() + kBarsHeight};
}

void MapLegend::Draw(cairo_t* cr, const MapView& view) const {
  cairo_save(cr);
  cairo_rectangle(cr, area_.x0, area_.y0, area_.x1 - area_.x0, area_.y1 - area_.y0);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.92);
  cairo_fill_preserve(cr);
  SetColour(cr, kInk, 0.4);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  double left = area_.x0 + kPadding;
  Label(cr, Pixel{left, area_.y0 + 28}, title_, kTitleSize, kInk, Anchor::kLeft, true);
  Label(cr, Pixel{left, area_.y0 + 48}, subtitle_, kTextSize, kInk);
  // North is up everywhere on this projection.
  Pixel north{area_.x1 - kPadding - 10, area_.y0 + 38};
  SetColour(cr, kInk);
  Arrow(cr, north, 0, 34, 2.5);
  Label(cr, Pixel{north.x, north.y - 20}, "N", 14, kInk, Anchor::kCentre, true);
  double y = area_.y0 + kHeaderHeight + 10;
  for (const Line& line : lines_) {
    DrawSymbol(cr, line, Pixel{left, y - 5});
    Label(cr, Pixel{left + 36, y}, line.text, kTextSize, kInk);
    y += kLineHeight;
  }
  DrawScaleBars(cr, view, Pixel{left, y});
  cairo_restore(cr);
}

void MapLegend::DrawSymbol(cairo_t* cr, const Line& line, Pixel at) const {
  cairo_save(cr);
  SetColour(cr, line.colour);
  switch (line.symbol) {
    case Line::kLine:
      cairo_rectangle(cr, at.x, at.y - 2.5, 26, 5);
      cairo_fill(cr);
      break;
    case Line::kAircraft: DrawAircraft(cr, Pixel{at.x + 13, at.y}, 90); break;
    case Line::kDirections:
      Arrow(cr, Pixel{at.x + 7, at.y}, 90, 16, 2);
      AnyDirectionMark(cr, Pixel{at.x + 22, at.y}, 4, 1.5);
      break;
    case Line::kBonus:
      for (double half : {3.0, 6.0, 9.0}) {
        cairo_rectangle(cr, at.x + 13 - half, at.y - half, 2 * half, 2 * half);
      }
      cairo_set_line_width(cr, 1.2);
      cairo_stroke(cr);
      break;
  }
  cairo_restore(cr);
}

void MapLegend::DrawScaleBars(cairo_t* cr, const MapView& view, Pixel at) const {
  double longest = kLongestBar / view.PixelsPerMetre();  // metres
  double km = RoundLengthBelow(longest / 1000);
  double nm = RoundLengthBelow(longest / du::kMetresPerNauticalMile);
  Bar(cr, Pixel{at.x, at.y}, km, "km", 1000 * view.PixelsPerMetre());
  Bar(cr, Pixel{at.x, at.y + 22}, nm, "NM", du::kMetresPerNauticalMile * view.PixelsPerMetre());
}
