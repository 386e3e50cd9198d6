#include "tools/aerilon-course/map/map_objects.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>

#include "common/printable_text.h"
#include "tools/aerilon-course/map/course_map.h"
#include "tools/aerilon-course/source/designer_units.h"

namespace src = course_model;
namespace du = designer_units;

namespace {

constexpr double kShortestArrow = 56;  // pixels
const Rgb kBonusColour = RgbOf(kBonusObjectColour);
constexpr double kNearZoneMetres[] = {1852, 926, 10};  // by the track's selector
constexpr double kSamePlaceMetres = 30;

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Printf(const char* format, ...) {
  char text[160];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return text;
}

const char kPlusMinus[] = "\xC2\xB1";
const char kDegree[] = "\xC2\xB0";

double Knots(int32_t speed) {
  return speed / static_cast<double>(du::kSpeedUnitsPerKnot);
}
bool AcceptsAnyHeading(int32_t heading) {
  return heading >= du::kAnyHeading;
}
// Only the heading's low 16 bits count.
double HeadingDegrees(int32_t heading) {
  return static_cast<uint16_t>(heading) / du::kHeadingUnitsPerDegree;
}

GeoPoint Moved(GeoPoint p, int64_t north, int64_t east) {
  return GeoPoint{static_cast<int32_t>(p.lat + north),
                  static_cast<int32_t>(static_cast<uint32_t>(p.lon) + static_cast<uint32_t>(east))};
}

double Metres(GeoPoint a, GeoPoint b) {
  return du::GroundDistance(a.lat, a.lon, b.lat, b.lon);
}

// "heading 270°" or "any heading".
std::string HeadingText(int32_t heading) {
  if (AcceptsAnyHeading(heading)) return "any heading";
  return Printf("heading %03.0f%s", HeadingDegrees(heading), kDegree);
}

// Feet to the nearest ten, as an altimeter is read.
double Feet(int32_t metres) {
  return std::round(metres / 0.3048 / 10) * 10;
}

// "1310±490 ft (400±150 m)": the band as a pilot's altimeter reads it,
// then as the course file holds it.
std::string Band(int32_t centre, int32_t band) {
  return Printf("%.0f%s%.0f ft (%d%s%d m)", Feet(centre), kPlusMinus, Feet(band), centre,
                kPlusMinus, band);
}

std::string BonusValue(int32_t value, bool percentage) {
  return Printf("%+d%s", value, percentage ? "%" : " pts");
}

constexpr CourseObjectPainter::BoxStyle kStartBoxStyle{0.15, 3.5, 3, false};
constexpr CourseObjectPainter::BoxStyle kGateStyle{0.3, 2, 2.5, false};
constexpr CourseObjectPainter::BoxStyle kLandingStyle{0.35, 2, 4, true};

// The area of a direction arrow or mark about an object's middle, which
// labels keep clear of.
Rect AroundArrow(const Rect& object, double length) {
  double mx = (object.x0 + object.x1) / 2, my = (object.y0 + object.y1) / 2;
  double reach = std::max(length, kShortestArrow) / 2;
  return Rect{std::min(object.x0, mx - reach), std::min(object.y0, my - reach),
              std::max(object.x1, mx + reach), std::max(object.y1, my + reach)};
}

}  // namespace

GeoPoint BoxMiddle(const src::Box& box) {
  return GeoPoint{
      static_cast<int32_t>((static_cast<int64_t>(box.lat_min) + box.lat_max) / 2),
      Moved({0, box.lon_min}, 0, LongitudeUnitsBetween(box.lon_min, box.lon_max) / 2).lon};
}

std::optional<GeoPoint> TargetPoint(const src::LegRecord& record) {
  if (const auto* gate = std::get_if<src::Gate>(&record)) return BoxMiddle(gate->box);
  if (const auto* waypoint = std::get_if<src::Waypoint>(&record)) {
    return GeoPoint{waypoint->lat, waypoint->lon};
  }
  if (const auto* landing = std::get_if<src::Landing>(&record)) return BoxMiddle(landing->box);
  return std::nullopt;
}

// A precision track from its TrackStart to where it closes: the reference
// point, the line through it along the radial, and how far from the point
// the leg's targets take the pilot while it is held.
struct CourseObjectPainter::TrackSpan {
  GeoPoint reference;
  double radial, tolerance;  // degrees
  int32_t weight;
  std::optional<double> near_zone;  // metres; none when no track before named one
  double reach;                     // metres
};

const NamedPlace* CourseObjectPainter::PlaceAt(GeoPoint at) const {
  if (places_ == nullptr) return nullptr;
  for (const NamedPlace& place : *places_) {
    if (Metres(at, GeoPoint{place.lat, place.lon}) < kSamePlaceMetres) return &place;
  }
  return nullptr;
}

// "1.2 gate" becomes "1.2 gate, Heliport" when the gate stands on a place.
std::string CourseObjectPainter::Titled(const std::string& title, GeoPoint at) const {
  const NamedPlace* place = PlaceAt(at);
  return place ? title + ", " + PrintableText(place->name, TextEncoding::kUtf8) : title;
}

void CourseObjectPainter::DrawLeg(const src::Leg& leg, size_t index) {
  Rgb colour = RgbOf(LegColour(index));
  std::string number = std::to_string(index + 1);
  std::vector<GeoPoint> route{BoxMiddle(leg.start.box)};
  for (const src::LegRecord& record : leg.records) {
    if (std::optional<GeoPoint> target = TargetPoint(record)) route.push_back(*target);
  }
  DrawTracks(leg, colour);
  DrawRoute(route, colour);
  const src::StartGate& start = leg.start;
  DrawBox(start.box, start.heading, kStartBoxStyle, Titled("START " + number, BoxMiddle(start.box)),
          Printf("%s, %.0f-%.0f kt", Band(start.alt_centre, start.alt_band).c_str(),
                 Knots(start.speed_min), Knots(start.speed_max)),
          colour);
  int targets = 0;
  for (const src::LegRecord& record : leg.records) {
    if (!TargetPoint(record)) continue;
    std::string name = number + "." + std::to_string(++targets);
    if (const auto* gate = std::get_if<src::Gate>(&record)) {
      DrawBox(gate->box, gate->heading, kGateStyle, Titled(name + " gate", BoxMiddle(gate->box)),
              Printf("%s, %.0f-%.0f kt", Band(gate->alt_centre, gate->alt_band).c_str(),
                     Knots(gate->speed_min), Knots(gate->speed_max)),
              colour);
    }
    if (const auto* waypoint = std::get_if<src::Waypoint>(&record)) {
      DrawWaypoint(*waypoint, name, colour);
    }
    if (const auto* landing = std::get_if<src::Landing>(&record)) {
      DrawBox(landing->box, landing->heading, kLandingStyle,
              Titled(name + " landing", BoxMiddle(landing->box)),
              Printf("field at %.0f ft (%d m)", Feet(landing->alt), landing->alt), colour);
    }
  }
  DrawCollectibles(leg, colour);
}

// A collectible is picked up as the target before it is met: its name and
// points go beside that target (or the start box).
void CourseObjectPainter::DrawCollectibles(const src::Leg& leg, Rgb colour) {
  GeoPoint after = BoxMiddle(leg.start.box);
  for (const src::LegRecord& record : leg.records) {
    if (std::optional<GeoPoint> target = TargetPoint(record)) after = *target;
    const auto* item = std::get_if<src::Collectible>(&record);
    if (item == nullptr) continue;
    Pixel at = view_.At(after);
    std::string name = PrintableText(item->name.Bytes(), TextEncoding::kWindows1252);
    labels_->Add(Rect{at.x - 6, at.y - 6, at.x + 6, at.y + 6},
                 Printf("\xE2\x98\x85 %s", name.c_str()), Printf("%+d points", item->points),
                 colour);
  }
}

void CourseObjectPainter::DrawTracks(const src::Leg& leg, Rgb colour) {
  GeoPoint last_target = BoxMiddle(leg.start.box);
  std::optional<TrackSpan> open;
  auto close = [&] {
    if (open) DrawWedge(*open, colour);
    open.reset();
  };
  for (const src::LegRecord& record : leg.records) {
    if (const auto* start = std::get_if<src::TrackStart>(&record)) {
      close();
      if (start->near_zone >= 0 && start->near_zone <= 2) {
        near_zone_ = kNearZoneMetres[start->near_zone];
      }
      GeoPoint reference{start->lat, start->lon};
      // The tolerance and weight count by their size, the tolerance as 16 bits.
      double tolerance = static_cast<uint16_t>(std::llabs(start->tolerance));
      open =
          TrackSpan{reference,
                    HeadingDegrees(start->radial),
                    tolerance / du::kHeadingUnitsPerDegree,
                    static_cast<int32_t>(std::min<int64_t>(std::llabs(start->weight), INT32_MAX)),
                    near_zone_,
                    Metres(reference, last_target)};
    } else if (std::holds_alternative<src::TrackEnd>(record)) {
      close();
    } else if (std::optional<GeoPoint> target = TargetPoint(record)) {
      if (open) open->reach = std::max(open->reach, Metres(open->reference, *target));
      last_target = *target;
    }
  }
  close();  // the leg's end closes a track still held
}

void CourseObjectPainter::DrawWedge(const TrackSpan& track, Rgb colour) {
  Pixel at = view_.At(track.reference);
  double ppm = view_.PixelsPerMetre();
  double length = std::max({track.reach * 1.15, track.near_zone.value_or(0) * 1.5, 1500.0}) * ppm;
  // From 90 degrees on every bearing is within the tolerance: the halves fill the circle.
  double half = std::min(track.tolerance, 90.0) * kPi / 180;
  cairo_save(cr_);
  for (double side : {track.radial, track.radial + 180}) {
    double a = ScreenAngle(side);
    cairo_move_to(cr_, at.x, at.y);
    cairo_arc(cr_, at.x, at.y, length, a - half, a + half);
    cairo_close_path(cr_);
    FillAndStroke(cr_, colour, 0.12, 1.2);
  }
  // The line the deviation is measured against.
  double a = ScreenAngle(track.radial);
  double dashes[] = {10, 5};
  cairo_set_dash(cr_, dashes, 2, 0);
  cairo_set_line_width(cr_, 1.6);
  cairo_move_to(cr_, at.x - std::cos(a) * length, at.y - std::sin(a) * length);
  cairo_line_to(cr_, at.x + std::cos(a) * length, at.y + std::sin(a) * length);
  cairo_stroke(cr_);
  if (track.near_zone) {
    double radius = std::max(*track.near_zone * ppm, 3.0);
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, at.x, at.y, radius, 0, 2 * kPi);
    FillAndStroke(cr_, colour, 0.08, 1.6);
  }
  cairo_restore(cr_);
  std::string near = track.near_zone ? Printf("near zone %.0f m not judged", *track.near_zone)
                                     : std::string("near zone of the track before");
  Pixel end{at.x + std::cos(a) * length, at.y + std::sin(a) * length};
  double spread = std::clamp(length * std::sin(half), 4.0, 30.0);
  labels_->Add(Rect{end.x - spread, end.y - spread, end.x + spread, end.y + spread},
               Printf("track %03.0f%s %s%.1f%s", track.radial, kDegree, kPlusMinus, track.tolerance,
                      kDegree),
               Printf("%d pts/%s beyond; %s", track.weight, kDegree, near.c_str()), colour);
}

void CourseObjectPainter::DrawRoute(const std::vector<GeoPoint>& route, Rgb colour) {
  cairo_save(cr_);
  SetColour(cr_, colour);
  cairo_set_line_width(cr_, 4);
  cairo_set_line_join(cr_, CAIRO_LINE_JOIN_ROUND);
  std::vector<Pixel> line;
  line.reserve(route.size());
  for (const GeoPoint& point : route) line.push_back(view_.At(point));
  StrokeLine(cr_, line);
  // A chevron halfway along each stretch shows which way the leg runs.
  for (size_t i = 1; i < route.size(); ++i) {
    Pixel from = view_.At(route[i - 1]), to = view_.At(route[i]);
    if (std::hypot(to.x - from.x, to.y - from.y) < 40) continue;
    Arrow(cr_, Pixel{(from.x + to.x) / 2, (from.y + to.y) / 2}, HeadingBetween(from, to), 16, 3);
  }
  cairo_restore(cr_);
}

Rect CourseObjectPainter::BoxPath(const src::Box& box) {
  Pixel a = view_.At(box.lat_max, box.lon_min), b = view_.At(box.lat_min, box.lon_max);
  Pixel middle{(a.x + b.x) / 2, (a.y + b.y) / 2};
  double half_width = std::max((b.x - a.x) / 2, 3.0), half_height = std::max((b.y - a.y) / 2, 3.0);
  Rect r{middle.x - half_width, middle.y - half_height, middle.x + half_width,
         middle.y + half_height};
  cairo_rectangle(cr_, r.x0, r.y0, r.x1 - r.x0, r.y1 - r.y0);
  return r;
}

void CourseObjectPainter::Direction(Pixel centre, int32_t heading, double length, double width,
                                    Rgb colour) {
  directions_.push_back(DirectionMark{centre, heading, length, width, colour});
}

// Directions are drawn over a white outline, so that they stand apart
// from the route and the flight that often run the same way.
void CourseObjectPainter::DrawDirections() {
  for (const DirectionMark& d : directions_) {
    SetColour(cr_, d.colour);
    if (AcceptsAnyHeading(d.heading)) {
      AnyDirectionMark(cr_, d.centre, 7, 2, true);
    } else {
      Arrow(cr_, d.centre, HeadingDegrees(d.heading), std::max(d.length, kShortestArrow), d.width,
            true);
    }
  }
}

void CourseObjectPainter::DrawBox(const src::Box& box, int32_t heading, const BoxStyle& style,
                                  const std::string& title, const std::string& detail, Rgb colour) {
  cairo_save(cr_);
  Rect drawn = BoxPath(box);
  double dashes[] = {6, 3};
  if (style.dashed) cairo_set_dash(cr_, dashes, 2, 0);
  FillAndStroke(cr_, colour, style.fill_alpha, style.line_width);
  cairo_restore(cr_);
  double arrow = 1.2 * (drawn.x1 - drawn.x0);
  Direction(view_.At(BoxMiddle(box)), heading, arrow, style.arrow_width, colour);
  labels_->Add(AroundArrow(drawn, arrow), title + ", " + HeadingText(heading), detail, colour);
}

void CourseObjectPainter::DrawWaypoint(const src::Waypoint& waypoint, const std::string& number,
                                       Rgb colour) {
  Pixel centre = view_.At(waypoint.lat, waypoint.lon);
  double radius = std::max(waypoint.radius * view_.PixelsPerMetre(), 3.0);
  cairo_save(cr_);
  cairo_new_sub_path(cr_);
  cairo_arc(cr_, centre.x, centre.y, radius, 0, 2 * kPi);
  FillAndStroke(cr_, colour, 0.15, 2);
  cairo_arc(cr_, centre.x, centre.y, 3, 0, 2 * kPi);
  cairo_fill(cr_);
  cairo_restore(cr_);
  // A waypoint is mostly flown from any side; only a required heading is drawn.
  if (!AcceptsAnyHeading(waypoint.heading)) {
    Direction(centre, waypoint.heading, radius * 1.4, 2.5, colour);
  }
  Rect circle{centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius};
  labels_->Add(circle,
               Titled(number + " waypoint r " + std::to_string(waypoint.radius) + " m",
                      GeoPoint{waypoint.lat, waypoint.lon}),
               Printf("%s, %s", Band(waypoint.alt, waypoint.alt_band).c_str(),
                      HeadingText(waypoint.heading).c_str()),
               colour);
}

void CourseObjectPainter::DrawBonusObject(const src::BonusObject& bonus, size_t index) {
  GeoPoint centre{bonus.lat, bonus.lon};
  cairo_save(cr_);
  Rect outer{0, 0, 0, 0};
  for (const src::BonusBox* box : {&bonus.outer, &bonus.middle, &bonus.inner}) {
    GeoPoint low = Moved(centre, -int64_t{box->half_lat}, -int64_t{box->half_lon});
    GeoPoint high = Moved(centre, box->half_lat, box->half_lon);
    Rect drawn = BoxPath(src::Box{low.lat, high.lat, low.lon, high.lon});
    if (box == &bonus.outer) outer = drawn;
    FillAndStroke(cr_, kBonusColour, 0.14, 1.5);
  }
  cairo_restore(cr_);
  bool percentage = (bonus.flags & 16) != 0;
  std::string values = BonusValue(bonus.normal_value, percentage);
  if (bonus.alternative_percent > 0) {
    values += Printf(", %d%%: %s", bonus.alternative_percent,
                     BonusValue(bonus.alternative_value, percentage).c_str());
  }
  labels_->Add(outer, Printf("bonus %zu: %s", index + 1, values.c_str()),
               Printf("%d%s%d m, %d takes (counter %d)", bonus.alt, kPlusMinus,
                      bonus.outer.half_alt, bonus.max_takes, bonus.counter_slot),
               kBonusColour);
}
