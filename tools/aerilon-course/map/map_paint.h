#pragma once

#include <cairo.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tools/aerilon-course/map/map_view.h"

// The pen of the course map: colours, arrows and labels that stay
// readable over lines and fills.
struct Rgb {
  double r, g, b;
};

constexpr double kPi = 3.14159265358979323846;
constexpr Rgb kInk{0.1, 0.1, 0.1};             // text, the scale bar, north
constexpr Rgb kAirfieldColour{0.3, 0.3, 0.3};  // the start positions

Rgb RgbOf(uint32_t rrggbb);
void SetColour(cairo_t* cr, Rgb colour, double alpha = 1.0);

// Fills the current path lightly in the colour and strokes it fully.
void FillAndStroke(cairo_t* cr, Rgb colour, double fill_alpha, double line_width);

// Where text goes relative to its anchor point.
enum class Anchor { kLeft, kCentre, kRight };

// Strokes the line through `points` with the current source, width, joins
// and caps, in pieces of a thousand points: cairo sweeps a stroke's
// outline as one polygon, in time that grows with the square of its
// crossings, and a long flown track may cross itself at every turn. Pieces
// overlap by one stretch, so that every join is drawn; the source must be
// opaque, or the overlaps would show (as it is, the line's edge is a shade
// darker where two pieces meet).
void StrokeLine(cairo_t* cr, const std::vector<Pixel>& points);

// Text in a colour with a white halo around its letters, its baseline's
// start, middle or end at `at`.
void Label(cairo_t* cr, Pixel at, const std::string& utf8, double size, Rgb colour,
           Anchor anchor = Anchor::kLeft, bool bold = false);
double TextWidth(cairo_t* cr, const std::string& utf8, double size, bool bold = false);

// The screen direction of a true heading in degrees (0 north, 90 east),
// as a cairo angle (0 along +x, clockwise since y runs down).
double ScreenAngle(double heading_degrees);
// The true heading in degrees of the way from one pixel to another.
double HeadingBetween(Pixel from, Pixel to);

// An arrow of `length` pixels centred on `centre`, pointing along the
// heading, with its head at the front; with a halo, on a white outline
// that keeps it apart from lines beneath.
void Arrow(cairo_t* cr, Pixel centre, double heading_degrees, double length, double width,
           bool halo = false);

// A start position's aircraft, pointing along the heading.
void DrawAircraft(cairo_t* cr, Pixel at, double heading_degrees);

// The mark of "any direction": a small ring with four spokes.
void AnyDirectionMark(cairo_t* cr, Pixel centre, double radius, double width, bool halo = false);
