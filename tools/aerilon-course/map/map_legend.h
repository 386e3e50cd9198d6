#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "course_model/course.h"
#include "tools/aerilon-course/map/map_paint.h"
#include "tools/aerilon-course/map/map_view.h"

// The box in the map's top left corner: the course's titles with the
// north arrow, one line per leg in its colour, what the symbols mean, and
// the scale bar in kilometres and nautical miles. Its size is known before
// the view is, so that the view can keep clear of it.
class MapLegend {
 public:
  MapLegend(cairo_t* cr, const course_model::Course& course, bool with_flight,
            bool with_verdicts = false);

  Rect Area() const { return area_; }
  // The course's titles as the legend shows them.
  const std::string& Title() const { return title_; }
  const std::string& Subtitle() const { return subtitle_; }
  void Draw(cairo_t* cr, const MapView& view) const;

 private:
  struct Line {
    enum Symbol { kLine, kAircraft, kDirections, kBonus } symbol;
    Rgb colour;
    std::string text;
  };
  void DrawSymbol(cairo_t* cr, const Line& line, Pixel at) const;
  void DrawScaleBars(cairo_t* cr, const MapView& view, Pixel at) const;

  std::string title_, subtitle_;
  std::vector<Line> lines_;
  Rect area_;
};
