#include "tools/aerilon-course/source/start_positions_near.h"

#include "rally/race/start_positions.h"
#include "tools/aerilon-course/source/designer_units.h"

namespace {

// The menu's items without their "&N. ".
const char* const kNames[kStartPositionCount] = {
    "Ralliest Base",         "Kestrin's Municipal", "AFB",
    "Sidelake Field",        "Trackers Best Field", "Daventi's Field",
    "Mountain View Airport", "Seashore Island"};

}  // namespace

std::string StartPositionName(uint32_t index) {
  return index < kStartPositionCount ? kNames[index] : "";
}

NearestStartPosition NearestStartPositionTo(int32_t lat, int32_t lon) {
  NearestStartPosition nearest;
  for (uint32_t i = 0; i < kStartPositionCount; ++i) {
    const StartPosition* p = StartPositionForSlot(kFirstStartPositionSlot + i);
    double d = designer_units::GroundDistance(lat, lon, static_cast<int32_t>(p->latitude),
                                              static_cast<int32_t>(p->longitude));
    if (i == 0 || d < nearest.metres) nearest = NearestStartPosition{i, kNames[i], d};
  }
  return nearest;
}
