#pragma once

#include <cstdint>
#include <vector>

#include "sceneward/script/kill_area.h"
#include "sceneward/writer/scenery_writer.h"

// Realistic indexed scenery files for the benchmark and for tests over many
// objects: level-1 groups of level-2 groups, each with a few objects of
// other classes ahead of its level-3 groups, whose level-4 groups hold
// class-1 objects. Whole level-4 groups lie inside the area or outside it,
// so removing them also empties headers above them.
namespace scenery_source {

struct GeneratorOptions {
  uint32_t target_size = 1u << 20;  // the file grows by level-1 groups until it reaches this
  uint32_t level2_per_level1 = 2;
  uint32_t level3_per_level2 = 2;
  uint32_t level4_per_level3 = 3;
  uint32_t objects_per_level4 = 8;
  uint32_t other_objects_per_level2 = 2;
  uint32_t percent_inside = 30;  // share of level-4 groups and other objects inside the area
  uint32_t model_bytes = 64;     // a skipped sub-record in every object block
  uint32_t seed = 1;
};

struct GeneratedScenery {
  SceneryFile file;
  KillArea area;  // lies inside the file's box
};

GeneratedScenery GenerateScenery(const GeneratorOptions& options);

// The written bytes of `count` files made with `options`, each from its own
// seed (options.seed, options.seed + 1, ...), all over the same area: a
// folder's worth for a benchmark.
struct GeneratedFiles {
  std::vector<std::vector<uint8_t>> files;
  KillArea area;
  uint64_t total_bytes = 0;
};

GeneratedFiles GenerateSceneryFiles(const GeneratorOptions& options, uint32_t count);

}  // namespace scenery_source
