#pragma once

#include <cairo.h>

#include <optional>
#include <string>
#include <vector>

#include "course_model/course.h"
#include "tools/aerilon-course/course_document.h"
#include "tools/aerilon-course/map/map_labels.h"
#include "tools/aerilon-course/map/map_paint.h"
#include "tools/aerilon-course/map/map_view.h"

// Where a target stands for the route line: a box's middle, a waypoint's
// point; none for records that are not targets.
GeoPoint BoxMiddle(const course_model::Box& box);
std::optional<GeoPoint> TargetPoint(const course_model::LegRecord& record);

// Draws the course's objects: each leg's precision tracks, route, start
// box and targets in the leg's colour, and the bonus objects. Their
// labels go to `labels`, to be drawn over everything else; the required
// directions wait for DrawDirections, so that they can go over the flight.
class CourseObjectPainter {
 public:
  // `places`: the source's named places, whose names go into the labels of
  // the objects that stand on them.
  CourseObjectPainter(cairo_t* cr, const MapView& view, MapLabels* labels,
                      const std::vector<NamedPlace>* places = nullptr)
      : cr_(cr), view_(view), labels_(labels), places_(places) {}

  // The named place an object stands on (within a few metres), if any.
  const NamedPlace* PlaceAt(GeoPoint at) const;

  void DrawLeg(const course_model::Leg& leg, size_t index);
  void DrawBonusObject(const course_model::BonusObject& bonus, size_t index);
  void DrawDirections();

  // How a kind of box looks: start boxes stand out, landings are dashed.
  struct BoxStyle {
    double fill_alpha, line_width, arrow_width;
    bool dashed;
  };

 private:
  struct TrackSpan;
  struct DirectionMark {
    Pixel centre;
    int32_t heading;
    double length, width;
    Rgb colour;
  };

  void DrawTracks(const course_model::Leg& leg, Rgb colour);
  void DrawCollectibles(const course_model::Leg& leg, Rgb colour);
  std::string Titled(const std::string& title, GeoPoint at) const;
  void DrawWedge(const TrackSpan& track, Rgb colour);
  void DrawRoute(const std::vector<GeoPoint>& route, Rgb colour);
  // A start box, gate or landing box with its direction and its label.
  void DrawBox(const course_model::Box& box, int32_t heading, const BoxStyle& style,
               const std::string& title, const std::string& detail, Rgb colour);
  void DrawWaypoint(const course_model::Waypoint& waypoint, const std::string& number, Rgb colour);

  // Makes the box's rectangle on the map, at least a few pixels wide, the
  // path; returns it.
  Rect BoxPath(const course_model::Box& box);
  void Direction(Pixel centre, int32_t heading, double length, double width, Rgb colour);

  cairo_t* cr_;
  const MapView& view_;
  MapLabels* labels_;
  const std::vector<NamedPlace>* places_;
  std::vector<DirectionMark> directions_;
  // The near zone carries over from track to track when a track's
  // selector names none, as it does in the module.
  std::optional<double> near_zone_;
};
