#pragma once

#include <cairo.h>

#include <optional>
#include <string>
#include <vector>

#include "tools/aerilon-course/map/map_area_index.h"
#include "tools/aerilon-course/map/map_paint.h"
#include "tools/aerilon-course/map/map_view.h"

// The labels of the map's objects, set beside their objects where they
// cover neither another label nor an object: to the right, else to the
// left, below or above, else a little further up or down. A label with no
// such place goes beside its object after all, until such labels could
// have covered the whole picture: beyond that each would only hide labels
// already hidden, and costs as much to draw as any. Those are left out,
// and a note at the bottom says how many.
class MapLabels {
 public:
  MapLabels(int width, int height) : width_(width), height_(height), occupied_(width, height) {}

  // An area no label may cover: an object, the legend.
  void Occupy(const Rect& area) { occupied_.Add(area); }
  // A bold title with an optional detail line beneath it, for `object`
  // (whose area is also kept free of labels).
  void Add(const Rect& object, const std::string& title, const std::string& detail, Rgb colour);
  // Places every label, in the order they came, and draws them.
  void Draw(cairo_t* cr);
  // The note of the labels left out, if any, over everything else.
  void DrawLeftOutNote(cairo_t* cr) const;

  size_t LeftOut() const { return left_out_; }
  // How often a place was compared with an occupied area: it grows with
  // the labels, not with their square.
  uint64_t Comparisons() const { return occupied_.Comparisons(); }

 private:
  struct Request {
    Rect object;
    std::string title, detail;
    Rgb colour;
  };
  // The first free place of the label, or none when it is crowded everywhere.
  std::optional<Rect> FreePlace(const Rect& object, double width, double height) const;
  std::vector<Rect> Candidates(const Rect& object, double width, double height) const;

  int width_, height_;
  AreaIndex occupied_;
  std::vector<Request> requests_;
  double crowded_area_ = 0;  // of the labels set where they overlap something
  size_t left_out_ = 0;
};
