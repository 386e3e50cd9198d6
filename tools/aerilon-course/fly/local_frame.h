#pragma once

#include <cstdint>

// Positions for the autopilot: degrees in double precision, and flat
// east/north metres around a point. The legs' distances are tens of
// kilometres at most, where the flat frame is within a few metres of the
// stand-in's great circles (the same 6,371 km sphere).
struct LatLon {
  double lat = 0, lon = 0;  // degrees, east positive
};

struct EastNorth {
  double east = 0, north = 0;  // metres
};

LatLon FromCourseUnits(int32_t latitude, uint32_t longitude);
int32_t LatitudeWord(double lat);
uint32_t LongitudeWord(double lon);

// Where `to` lies from `from`, in the flat frame at `from`.
EastNorth OffsetBetween(const LatLon& from, const LatLon& to);
LatLon Moved(const LatLon& from, const EastNorth& by);

double Length(const EastNorth& o);
// The true bearing of an offset, 0 to 360 degrees.
double BearingOf(const EastNorth& o);
// A unit offset pointing along a true bearing.
EastNorth Direction(double bearing_deg);
double Dot(const EastNorth& a, const EastNorth& b);
EastNorth Scaled(const EastNorth& o, double factor);
EastNorth Sum(const EastNorth& a, const EastNorth& b);

// The signed difference a - b of two bearings, -180 to 180 degrees.
double AngleBetween(double a, double b);
double NormalBearing(double bearing_deg);  // 0 to 360
