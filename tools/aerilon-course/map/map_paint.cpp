#include "tools/aerilon-course/map/map_paint.h"

#include <algorithm>
#include <cmath>

namespace {

void SetFont(cairo_t* cr, double size, bool bold) {
  cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL,
                         bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, size);
}

}  // namespace

Rgb RgbOf(uint32_t rrggbb) {
  return Rgb{((rrggbb >> 16) & 0xFF) / 255.0, ((rrggbb >> 8) & 0xFF) / 255.0,
             (rrggbb & 0xFF) / 255.0};
}

void SetColour(cairo_t* cr, Rgb colour, double alpha) {
  cairo_set_source_rgba(cr, colour.r, colour.g, colour.b, alpha);
}

void FillAndStroke(cairo_t* cr, Rgb colour, double fill_alpha, double line_width) {
  SetColour(cr, colour, fill_alpha);
  cairo_fill_preserve(cr);
  SetColour(cr, colour);
  cairo_set_line_width(cr, line_width);
  cairo_stroke(cr);
}

void StrokeLine(cairo_t* cr, const std::vector<Pixel>& points) {
  // A piece is short enough that cairo's sweep of it stays quick however
  // often it crosses itself, and long enough that an ordinary flight is
  // one piece, drawn exactly as one path.
  constexpr size_t kPiecePoints = 1000;
  size_t first = 0;
  while (first < points.size()) {
    size_t end = std::min(points.size(), first + kPiecePoints);
    cairo_new_path(cr);
    for (size_t i = first; i < end; ++i) cairo_line_to(cr, points[i].x, points[i].y);
    cairo_stroke(cr);
    if (end == points.size()) break;
    first = end - 2;  // the next piece begins with this one's last stretch
  }
}

double TextWidth(cairo_t* cr, const std::string& utf8, double size, bool bold) {
  SetFont(cr, size, bold);
  cairo_text_extents_t extents;
  cairo_text_extents(cr, utf8.c_str(), &extents);
  return extents.x_advance;
}

void Label(cairo_t* cr, Pixel at, const std::string& utf8, double size, Rgb colour, Anchor anchor,
           bool bold) {
  double width = TextWidth(cr, utf8, size, bold);
  double x = anchor == Anchor::kLeft     ? at.x
             : anchor == Anchor::kCentre ? at.x - width / 2
                                         : at.x - width;
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_move_to(cr, x, at.y);
  cairo_text_path(cr, utf8.c_str());
  // The halo first, so that the letters stand out over lines and fills.
  cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
  cairo_set_line_width(cr, size / 4);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_stroke_preserve(cr);
  SetColour(cr, colour);
  cairo_fill(cr);
  cairo_restore(cr);
}

double ScreenAngle(double heading_degrees) {
  return (heading_degrees - 90.0) * kPi / 180.0;
}

double HeadingBetween(Pixel from, Pixel to) {
  return std::atan2(to.x - from.x, from.y - to.y) * 180.0 / kPi;
}

namespace {

// An arrow's points: the tail, where the shaft meets the head, the tip
// and the head's two barbs.
struct ArrowShape {
  Pixel tail, neck, tip, left, right;
};

ArrowShape ShapeOf(Pixel centre, double heading_degrees, double length, double width) {
  double a = ScreenAngle(heading_degrees);
  double dx = std::cos(a), dy = std::sin(a);
  double head = std::max(8.0, width * 3.5), spread = 0.45;
  Pixel tip{centre.x + dx * length / 2, centre.y + dy * length / 2};
  return ArrowShape{{centre.x - dx * length / 2, centre.y - dy * length / 2},
                    {tip.x - dx * head * 0.8, tip.y - dy * head * 0.8},
                    tip,
                    {tip.x - head * std::cos(a - spread), tip.y - head * std::sin(a - spread)},
                    {tip.x - head * std::cos(a + spread), tip.y - head * std::sin(a + spread)}};
}

void ShaftPath(cairo_t* cr, const ArrowShape& s) {
  cairo_move_to(cr, s.tail.x, s.tail.y);
  cairo_line_to(cr, s.neck.x, s.neck.y);
}
void HeadPath(cairo_t* cr, const ArrowShape& s) {
  cairo_move_to(cr, s.tip.x, s.tip.y);
  cairo_line_to(cr, s.left.x, s.left.y);
  cairo_line_to(cr, s.right.x, s.right.y);
  cairo_close_path(cr);
}

// Strokes the current path wide in white under what comes next.
void StrokeHalo(cairo_t* cr, double width) {
  cairo_save(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
  cairo_set_line_width(cr, width + 5);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
  cairo_restore(cr);
}

}  // namespace

void Arrow(cairo_t* cr, Pixel centre, double heading_degrees, double length, double width,
           bool halo) {
  ArrowShape shape = ShapeOf(centre, heading_degrees, length, width);
  if (halo) {
    ShaftPath(cr, shape);
    HeadPath(cr, shape);
    StrokeHalo(cr, width);
  }
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  ShaftPath(cr, shape);
  cairo_stroke(cr);
  HeadPath(cr, shape);
  cairo_fill(cr);
}

void AnyDirectionMark(cairo_t* cr, Pixel centre, double radius, double width, bool halo) {
  cairo_new_path(cr);
  cairo_arc(cr, centre.x, centre.y, radius, 0, 2 * kPi);
  for (int i = 0; i < 4; ++i) {
    double a = i * kPi / 2 + kPi / 4;
    cairo_move_to(cr, centre.x + radius * std::cos(a), centre.y + radius * std::sin(a));
    cairo_line_to(cr, centre.x + 1.8 * radius * std::cos(a), centre.y + 1.8 * radius * std::sin(a));
  }
  if (halo) {
    cairo_path_t* mark = cairo_copy_path(cr);
    StrokeHalo(cr, width);
    cairo_append_path(cr, mark);
    cairo_path_destroy(mark);
  }
  cairo_set_line_width(cr, width);
  cairo_stroke(cr);
}

void DrawAircraft(cairo_t* cr, Pixel at, double heading_degrees) {
  cairo_save(cr);
  cairo_translate(cr, at.x, at.y);
  cairo_rotate(cr, ScreenAngle(heading_degrees));
  cairo_move_to(cr, 11, 0);
  cairo_line_to(cr, -7, -7);
  cairo_line_to(cr, -3, 0);
  cairo_line_to(cr, -7, 7);
  cairo_close_path(cr);
  cairo_fill(cr);
  cairo_restore(cr);
}
