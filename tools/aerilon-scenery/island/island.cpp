#include "tools/aerilon-scenery/island/island.h"

const char* RunwaySurfaceName(RunwaySurface surface) {
  switch (surface) {
    case RunwaySurface::kAsphalt: return "asphalt";
    case RunwaySurface::kConcrete: return "concrete";
    case RunwaySurface::kGrass: return "grass";
    case RunwaySurface::kDirt: return "dirt";
  }
  return "asphalt";
}

const char* LandmarkKindName(LandmarkKind kind) {
  switch (kind) {
    case LandmarkKind::kLighthouse: return "lighthouse";
    case LandmarkKind::kBuilding: return "building";
    case LandmarkKind::kHangar: return "hangar";
    case LandmarkKind::kTower: return "tower";
  }
  return "building";
}
