#pragma once

#include <optional>

#include "tools/aerilon-scenery/island/island.h"

// Where things stand on the island, in flat metres around a point (the
// island is some 40 km across, where a flat frame is within metres of the
// sphere).

// Metres east and north of `from`.
struct IslandOffset {
  double east = 0, north = 0;
};
IslandOffset OffsetFrom(IslandPoint from, IslandPoint to);

// The point's place on a runway: metres along its heading from its centre
// and to its right; inside when within half its length and half its width.
struct RunwayPlace {
  double along = 0, across = 0;
  bool inside = false;
};
RunwayPlace PlaceOnRunway(const Runway& runway, IslandPoint point);

// How far around its runways an airfield's ground is flat at its elevation.
constexpr double kAirfieldMarginMetres = 150;

// The ground's elevation at a point: an airfield's around its runways,
// else the last land area whose outline holds it; none over the sea.
std::optional<int32_t> GroundElevation(const Island& island, IslandPoint point);

// The smallest latitude and longitude box holding every land area, runway
// and landmark, in the file's units (longitudes as signed 32-bit words).
struct IslandBounds {
  int32_t south = 0, north = 0, west = 0, east = 0;
  bool Contains(IslandPoint p) const;
};
IslandBounds BoundsOf(const Island& island);

// The smallest difference between a runway's heading, either way along
// it, and a heading: 0 to 90 degrees.
double RunwayHeadingOff(const Runway& runway, double heading);
