#include "sceneward/script/kill_area.h"

bool PointInKillArea(const KillArea& area, int32_t latitude, int32_t longitude) {
  return area.west < longitude && longitude < area.east && area.south < latitude &&
         latitude < area.north;
}

bool BoxOverlapsBounds(int32_t north, int32_t south, int32_t east, int32_t west,
                       const KillArea& bounds) {
  return north > bounds.south && south < bounds.north && east > bounds.west && west < bounds.east;
}
