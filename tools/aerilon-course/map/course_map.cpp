#include "tools/aerilon-course/map/course_map.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "common/printable_text.h"
#include "rally/race/start_positions.h"
#include "tools/aerilon-course/map/map_grid.h"
#include "tools/aerilon-course/map/map_labels.h"
#include "tools/aerilon-course/map/map_legend.h"
#include "tools/aerilon-course/map/map_objects.h"
#include "tools/aerilon-course/map/map_paint.h"
#include "tools/aerilon-course/map/map_verdicts.h"
#include "tools/aerilon-course/map/map_view.h"
#include "tools/aerilon-course/source/designer_units.h"
#include "tools/common/output_file.h"

namespace src = course_model;
namespace du = designer_units;

namespace {

// Twenty colours for the twenty legs a score file keeps: dark enough for
// labels on white, none of them the flight's black or the bonus gold.
constexpr uint32_t kLegPalette[] = {
    0xD62728, 0x1F5FBF, 0x2CA02C, 0x8E44AD, 0xE67E22, 0x8C564B, 0x17A2B8,
    0x7F8C1A, 0x34495E, 0xB03A2E, 0x5C9BD6, 0x66BB6A, 0xA78BD0, 0xD68910,
    0xA1887F, 0x45B39D, 0xAFB42B, 0x90A4AE, 0x6D4C41, 0x4A235A,
};
const Rgb kBackground{0.985, 0.985, 0.975};
constexpr double kMarginPixels = 70;
constexpr double kSmallestViewMetres = 2000;
// Start positions beyond the map are pointed at up to this far; a course
// elsewhere in the world has none around it.
constexpr double kNearbyAirfieldMetres = 100000;

GeoPoint StartPositionPoint(uint32_t n) {
  const StartPosition* p = StartPositionForSlot(kFirstStartPositionSlot + n);
  return GeoPoint{static_cast<int32_t>(p->latitude), static_cast<int32_t>(p->longitude)};
}

// Two opposite corners of the area a box covers.
void AddBox(std::vector<GeoPoint>* points, GeoPoint centre, int64_t half_lat, int64_t half_lon) {
  for (int sign : {-1, 1}) {
    points->push_back(GeoPoint{static_cast<int32_t>(centre.lat + sign * half_lat),
                               static_cast<int32_t>(static_cast<uint32_t>(centre.lon) +
                                                    static_cast<uint32_t>(sign * half_lon))});
  }
}
void AddBox(std::vector<GeoPoint>* points, const src::Box& box) {
  points->push_back(GeoPoint{box.lat_min, box.lon_min});
  points->push_back(GeoPoint{box.lat_max, box.lon_max});
}

std::vector<GeoPoint> CourseExtent(const CourseDocument& document) {
  std::vector<GeoPoint> points;
  for (const src::Leg& leg : document.course.legs) {
    AddBox(&points, leg.start.box);
    for (const src::LegRecord& record : leg.records) {
      if (const auto* gate = std::get_if<src::Gate>(&record)) AddBox(&points, gate->box);
      if (const auto* landing = std::get_if<src::Landing>(&record)) AddBox(&points, landing->box);
      if (const auto* track = std::get_if<src::TrackStart>(&record)) {
        points.push_back(GeoPoint{track->lat, track->lon});
      }
      if (const auto* w = std::get_if<src::Waypoint>(&record)) {
        AddBox(&points, GeoPoint{w->lat, w->lon},
               std::llround(w->radius / du::MetresPerLatitudeUnit()),
               std::llround(w->radius / du::MetresPerLongitudeUnit(w->lat)));
      }
    }
  }
  for (const src::BonusObject& b : document.course.bonus_objects) {
    AddBox(&points, GeoPoint{b.lat, b.lon}, b.outer.half_lat, b.outer.half_lon);
  }
  return points;
}

// The view of the course and the flight, taking in the start positions
// that lie around them (that would be on a map a quarter larger each way);
// without either, the view of the start positions. It keeps clear of the
// legend, beside it or below it, whichever shows the course larger.
MapView FitView(const CourseDocument& document, const std::vector<TrackPoint>& flight, MapSize size,
                const Rect& legend, const MapGround* ground) {
  double right = size.width - kMarginPixels, bottom = size.height - kMarginPixels;
  Rect beside{legend.x1 + kMarginPixels / 2, kMarginPixels, right, bottom};
  Rect below{kMarginPixels, legend.y1 + kMarginPixels / 2, right, bottom};
  auto fit = [&](const std::vector<GeoPoint>& points) {
    MapView a = MapView::Fit(points, size.width, size.height, beside, kSmallestViewMetres);
    MapView b = MapView::Fit(points, size.width, size.height, below, kSmallestViewMetres);
    return a.PixelsPerMetre() >= b.PixelsPerMetre() ? a : b;
  };
  std::vector<GeoPoint> points = CourseExtent(document);
  for (const TrackPoint& p : flight) points.push_back(GeoPoint{p.lat, p.lon});
  if (ground != nullptr) {
    std::vector<GeoPoint> land = GroundExtent(*ground);
    points.insert(points.end(), land.begin(), land.end());
  }
  MapView course = fit(points);
  bool nothing_else = points.empty();
  for (uint32_t n = 0; n < kStartPositionCount; ++n) {
    Pixel at = course.At(StartPositionPoint(n));
    bool around = at.x >= -size.width / 4.0 && at.x <= size.width * 1.25 &&
                  at.y >= -size.height / 4.0 && at.y <= size.height * 1.25;
    if (around || nothing_else) points.push_back(StartPositionPoint(n));
  }
  return fit(points);
}

// Where the line from the map's middle to an off-map point leaves the
// map, `inset` pixels inside its edge.
Pixel EdgeTowards(const MapView& view, Pixel target, double inset) {
  Pixel middle{view.Width() / 2.0, view.Height() / 2.0};
  double dx = target.x - middle.x, dy = target.y - middle.y;
  double t = 1;
  if (dx != 0) t = std::min(t, (dx > 0 ? view.Width() - inset - middle.x : inset - middle.x) / dx);
  if (dy != 0) t = std::min(t, (dy > 0 ? view.Height() - inset - middle.y : inset - middle.y) / dy);
  return Pixel{middle.x + t * dx, middle.y + t * dy};
}

bool OnMap(const MapView& view, Pixel at) {
  return at.x >= 0 && at.y >= 0 && at.x <= view.Width() && at.y <= view.Height();
}

// Each start position as an aircraft pointing along its heading, labelled
// with its number in the "Posizioni" menu. One beyond the map (but near
// it) is an arrow at the edge, pointing its way, with how far beyond it is.
void DrawStartPositions(cairo_t* cr, const MapView& view, MapLabels* labels) {
  for (uint32_t n = 0; n < kStartPositionCount; ++n) {
    const StartPosition* p = StartPositionForSlot(kFirstStartPositionSlot + n);
    GeoPoint airfield = StartPositionPoint(n);
    Pixel at = view.At(airfield);
    std::string name = "P" + std::to_string(n + 1);
    SetColour(cr, kAirfieldColour);
    if (OnMap(view, at)) {
      DrawAircraft(cr, at, p->heading / 4294967296.0 * 360.0);
      labels->Add(Rect{at.x - 11, at.y - 11, at.x + 11, at.y + 11}, name, "", kAirfieldColour);
      continue;
    }
    Pixel edge = EdgeTowards(view, at, 36);
    GeoPoint there{du::LatitudeUnits(view.LatitudeAtY(edge.y)),
                   du::LongitudeUnits(std::remainder(view.LongitudeAtX(edge.x), 360.0))};
    double beyond = du::GroundDistance(there.lat, there.lon, airfield.lat, airfield.lon);
    if (beyond > kNearbyAirfieldMetres) continue;
    Arrow(cr, edge, HeadingBetween(edge, at), 22, 2);
    char text[48];
    std::snprintf(text, sizeof text, "%s, %.0f km beyond", name.c_str(), beyond / 1000);
    labels->Add(Rect{edge.x - 12, edge.y - 12, edge.x + 12, edge.y + 12}, text, "",
                kAirfieldColour);
  }
}

Rgb TrackColour(int leg) {
  return RgbOf(leg < 0 ? kFlightTrackColour : LegColour(static_cast<size_t>(leg)));
}

// The track in pieces of one leg each, in the leg's colour; black where no
// leg runs (and for a script not flown through the module).
// The source's named places, each a small dot with its name.
// Those an object stands on are named in the object's label instead.
void DrawPlaces(cairo_t* cr, const MapView& view, const CourseDocument& document,
                const CourseObjectPainter& objects, MapLabels* labels) {
  cairo_save(cr);
  SetColour(cr, kAirfieldColour);
  std::vector<GeoPoint> objects_at;
  for (const src::Leg& leg : document.course.legs) {
    objects_at.push_back(BoxMiddle(leg.start.box));
    for (const src::LegRecord& r : leg.records) {
      if (std::optional<GeoPoint> at = TargetPoint(r)) objects_at.push_back(*at);
    }
  }
  for (const NamedPlace& place : document.places) {
    bool named_elsewhere = false;
    for (GeoPoint at : objects_at) named_elsewhere |= objects.PlaceAt(at) == &place;
    if (named_elsewhere) continue;
    Pixel at = view.At(place.lat, place.lon);
    cairo_arc(cr, at.x, at.y, 2.5, 0, 2 * kPi);
    cairo_fill(cr);
    std::string detail = place.elevation ? std::to_string(*place.elevation) + " m" : std::string();
    labels->Add(Rect{at.x - 3, at.y - 3, at.x + 3, at.y + 3},
                PrintableText(place.name, TextEncoding::kUtf8), detail, kAirfieldColour);
  }
  cairo_restore(cr);
}

void DrawFlight(cairo_t* cr, const MapView& view, const std::vector<TrackPoint>& flight) {
  if (flight.empty()) return;
  cairo_save(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  std::vector<Pixel> line;
  for (size_t i = 0; i < flight.size(); ++i) {
    line.push_back(view.At(flight[i].lat, flight[i].lon));
    bool piece_ends = i + 1 == flight.size() || flight[i + 1].leg != flight[i].leg;
    if (!piece_ends) continue;
    // A white casing sets the track apart from its leg's route of one colour.
    double width = flight[i].leg < 0 ? 2 : 2.5;
    if (flight[i].leg >= 0) {
      SetColour(cr, Rgb{1, 1, 1});
      cairo_set_line_width(cr, width + 3);
      StrokeLine(cr, line);
    }
    SetColour(cr, TrackColour(flight[i].leg));
    cairo_set_line_width(cr, width);
    StrokeLine(cr, line);
    line.assign(1, line.back());  // the next piece starts where this one ends
  }
  SetColour(cr, RgbOf(kFlightTrackColour));
  Pixel start = view.At(flight.front().lat, flight.front().lon);
  cairo_arc(cr, start.x, start.y, 5, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_restore(cr);
}

cairo_status_t AppendPng(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::vector<uint8_t>*>(closure)->insert(
      static_cast<std::vector<uint8_t>*>(closure)->end(), data, data + length);
  return CAIRO_STATUS_SUCCESS;
}

// Encoded in memory, then written as every output of the tools is: beside
// the file first and then in its place, so that a failed write leaves an
// earlier map as it was, and never over a folder, a device or an input.
bool WritePng(cairo_surface_t* surface, const std::string& path, const std::string& course,
              std::string* error) {
  std::vector<uint8_t> png;
  cairo_status_t status = cairo_surface_write_to_png_stream(surface, AppendPng, &png);
  std::optional<std::string> problem;
  if (status != CAIRO_STATUS_SUCCESS) {
    problem = std::string("cannot be written: ") + cairo_status_to_string(status);
  } else {
    problem = WriteOutputFile(path, png, {course});
  }
  if (problem) *error = path + ": error: " + *problem;
  return !problem;
}

}  // namespace

uint32_t LegColour(size_t leg) {
  return kLegPalette[leg % (sizeof kLegPalette / sizeof kLegPalette[0])];
}

bool DrawCourseMap(const CourseDocument& document, const std::vector<TrackPoint>& flight,
                   const std::string& png_path, std::string* error, MapSize size,
                   const std::vector<TargetVerdict>& verdicts, const MapGround* ground) {
  if (std::min(size.width, size.height) < kSmallestMapSide ||
      std::max(size.width, size.height) > kLargestMapSide) {
    *error = png_path + ": error: a map is " + std::to_string(kSmallestMapSide) + " to " +
             std::to_string(kLargestMapSide) + " pixels wide and high";
    return false;
  }
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_RGB24, size.width, size.height);
  cairo_t* cr = cairo_create(surface);
  MapLegend legend(cr, document.course, !flight.empty(), !verdicts.empty());
  MapView view = FitView(document, flight, size, legend.Area(), ground);
  SetColour(cr, kBackground);
  cairo_paint(cr);
  MapLabels labels(size.width, size.height);
  if (ground != nullptr) DrawGround(cr, view, *ground, &labels);
  for (const Rect& r : DrawGrid(cr, view)) labels.Occupy(r);
  labels.Occupy(legend.Area());
  CourseObjectPainter objects(cr, view, &labels, &document.places);
  for (size_t i = 0; i < document.course.bonus_objects.size(); ++i) {
    objects.DrawBonusObject(document.course.bonus_objects[i], i);
  }
  DrawStartPositions(cr, view, &labels);

  for (size_t i = 0; i < document.course.legs.size(); ++i) {
    objects.DrawLeg(document.course.legs[i], i);
  }
  DrawPlaces(cr, view, document, objects, &labels);
  DrawFlight(cr, view, flight);
  objects.DrawDirections();
  DrawVerdicts(cr, view, document.course, verdicts);
  labels.Draw(cr);
  legend.Draw(cr, view);
  labels.DrawLeftOutNote(cr);
  cairo_status_t status = cairo_status(cr);
  cairo_destroy(cr);
  bool written =
      status == CAIRO_STATUS_SUCCESS && WritePng(surface, png_path, document.file, error);
  if (status != CAIRO_STATUS_SUCCESS) {
    *error = png_path + ": error: cannot be drawn: " + cairo_status_to_string(status);
  }
  cairo_surface_destroy(surface);
  return written;
}
