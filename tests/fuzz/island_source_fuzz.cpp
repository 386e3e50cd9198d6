// The island sources a designer writes. One that reads has at least one
// land area, every runway a positive length and width, and its checks and
// its ground can be asked of any point without harm.
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_targets.h"
#include "tools/aerilon-scenery/island/island_check.h"
#include "tools/aerilon-scenery/island/island_geometry.h"
#include "tools/aerilon-scenery/island/island_map.h"
#include "tools/aerilon-scenery/island/island_reader.h"

int FuzzIslandSource(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  Island island;
  std::vector<Diagnostic> diagnostics;
  if (!ReadIslandSource(text, "fuzz.toml", &island, &diagnostics)) {
    FuzzCheck(HasErrors(diagnostics), "a refused island is told why");
    return 0;
  }
  FuzzCheck(!island.land.empty(), "an island that reads has land");
  for (const Airfield& field : island.airfields) {
    for (const Runway& r : field.runways) {
      FuzzCheck(r.length > 0 && r.width > 0, "a runway that reads has a size");
      GroundElevation(island, r.centre);
    }
  }
  IslandBounds bounds = BoundsOf(island);
  GroundElevation(island, IslandPoint{bounds.south, bounds.west});
  CheckIsland(island, {});
  GroundOf(island);
  return 0;
}
