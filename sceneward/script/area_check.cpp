#include "sceneward/script/area_check.h"

namespace {

EdgeOrder Order(int32_t low, int32_t high) {
  if (low < high) return EdgeOrder::kOpen;
  return low == high ? EdgeOrder::kEmpty : EdgeOrder::kInverted;
}

}  // namespace

AreaFindings CheckKillArea(const KillArea& area, const AreaWriting& writing) {
  AreaFindings findings{};
  for (int edge = kWestEdge; edge < kAreaEdges; ++edge) {
    findings.wrapped[edge] = writing.seconds[edge].written != writing.seconds[edge].read;
  }
  findings.latitudes = Order(area.south, area.north);
  findings.longitudes = Order(area.west, area.east);
  return findings;
}
