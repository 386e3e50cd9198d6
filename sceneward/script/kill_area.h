#pragma once

#include <cstdint>

// A rectangle of the earth whose objects of other sceneries are removed.
// Latitudes and longitudes are in the edit script's units. A point lies
// inside when it is strictly inside on all four edges: an object on an edge
// is kept.
struct KillArea {
  int32_t west;
  int32_t north;
  int32_t east;
  int32_t south;
};

bool PointInKillArea(const KillArea& area, int32_t latitude, int32_t longitude);

// A scenery file's bounding box overlaps the union box of the areas only
// when the boxes share more than an edge.
bool BoxOverlapsBounds(int32_t north, int32_t south, int32_t east, int32_t west,
                       const KillArea& bounds);
