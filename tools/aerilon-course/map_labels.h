#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "tools/aerilon-course/map_paint.h"
#include "tools/aerilon-course/map_view.h"

// The labels of the map's objects, set beside their objects where they
// cover neither another label nor an object: to the right, else to the
// left, below or above, else a little further up or down.
class MapLabels {
 public:
  MapLabels(int width, int height) : width_(width), height_(height) {}

  // An area no label may cover: an object, the legend.
  void Occupy(const Rect& area) { occupied_.push_back(area); }
  // A bold title with an optional detail line beneath it, for `object`
  // (whose area is also kept free of labels).
  void Add(const Rect& object, const std::string& title, const std::string& detail, Rgb colour);
  // Places every label, in the order they came, and draws them.
  void Draw(cairo_t* cr);

 private:
  struct Request {
    Rect object;
    std::string title, detail;
    Rgb colour;
  };
  Rect Place(const Rect& object, double width, double height) const;

  int width_, height_;
  std::vector<Rect> occupied_;
  std::vector<Request> requests_;
};
