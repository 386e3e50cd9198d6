#include "tools/aerilon-course/map/map_labels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kTitleSize = 14, kDetailSize = 12;
constexpr double kGap = 6;
constexpr int kFurthestShift = 6;  // label heights up or down

Pixel NearestIn(const Rect& r, Pixel p) {
  return Pixel{std::clamp(p.x, r.x0, r.x1), std::clamp(p.y, r.y0, r.y1)};
}

// A label pushed away from its object gets a thin line back to it.
void LeaderLine(cairo_t* cr, const Rect& label, const Rect& object, Rgb colour) {
  Pixel from = NearestIn(label, Pixel{(object.x0 + object.x1) / 2, (object.y0 + object.y1) / 2});
  Pixel to = NearestIn(object, Pixel{(label.x0 + label.x1) / 2, (label.y0 + label.y1) / 2});
  if (std::hypot(to.x - from.x, to.y - from.y) <= 2 * kGap) return;
  cairo_save(cr);
  SetColour(cr, colour, 0.8);
  cairo_set_line_width(cr, 1);
  cairo_move_to(cr, from.x, from.y);
  cairo_line_to(cr, to.x, to.y);
  cairo_stroke(cr);
  cairo_restore(cr);
}

}  // namespace

void MapLabels::Add(const Rect& object, const std::string& title, const std::string& detail,
                    Rgb colour) {
  occupied_.Add(object);
  requests_.push_back(Request{object, title, detail, colour});
}

std::vector<Rect> MapLabels::Candidates(const Rect& object, double width, double height) const {
  double middle = (object.y0 + object.y1) / 2;
  double right = object.x1 + kGap, left = object.x0 - kGap - width;
  std::vector<Rect> candidates = {
      {right, middle - height / 2, right + width, middle + height / 2},
      {left, middle - height / 2, left + width, middle + height / 2},
      {object.x0, object.y1 + kGap, object.x0 + width, object.y1 + kGap + height},
      {object.x0, object.y0 - kGap - height, object.x0 + width, object.y0 - kGap},
  };
  for (int shift = 1; shift <= kFurthestShift; ++shift) {
    for (int sign : {1, -1}) {
      for (double x : {right, left}) {
        double top = middle - height / 2 + sign * shift * (height + 2);
        candidates.push_back({x, top, x + width, top + height});
      }
    }
  }
  return candidates;
}

std::optional<Rect> MapLabels::FreePlace(const Rect& object, double width, double height) const {
  for (const Rect& c : Candidates(object, width, height)) {
    bool inside = c.x0 >= 0 && c.y0 >= 0 && c.x1 <= width_ && c.y1 <= height_;
    if (inside && !occupied_.AnyOverlaps(c)) return c;
  }
  return std::nullopt;
}

void MapLabels::Draw(cairo_t* cr) {
  const double picture = static_cast<double>(width_) * height_;
  for (const Request& r : requests_) {
    double width = TextWidth(cr, r.title, kTitleSize, true);
    if (!r.detail.empty()) width = std::max(width, TextWidth(cr, r.detail, kDetailSize));
    double height = r.detail.empty() ? kTitleSize + 4 : kTitleSize + kDetailSize + 8;
    std::optional<Rect> free = FreePlace(r.object, width, height);
    if (!free && crowded_area_ >= picture) {
      ++left_out_;
      continue;
    }
    // Crowded everywhere: beside the object after all.
    Rect at = free ? *free : Candidates(r.object, width, height).front();
    if (!free) crowded_area_ += width * height;
    occupied_.Add(at);
    LeaderLine(cr, at, r.object, r.colour);
    Label(cr, Pixel{at.x0, at.y0 + kTitleSize}, r.title, kTitleSize, r.colour, Anchor::kLeft, true);
    if (!r.detail.empty()) {
      Label(cr, Pixel{at.x0, at.y1 - 3}, r.detail, kDetailSize, r.colour);
    }
  }
}

void MapLabels::DrawLeftOutNote(cairo_t* cr) const {
  if (left_out_ == 0) return;
  char text[160];
  std::snprintf(text, sizeof text,
                "%zu of %zu labels left out for want of room (a larger --size has room for more)",
                left_out_, requests_.size());
  Label(cr, Pixel{2 * kGap, height_ - 2 * kGap - kDetailSize - 8}, text, kTitleSize, kInk,
        Anchor::kLeft, true);
}
