#include "sceneward/writer/scenery_generator.h"

#include <random>

namespace scenery_source {

namespace {

constexpr KillArea kArea{130000000, 1700000, 170000000, 1300000};  // west, north, east, south

struct Generator {
  const GeneratorOptions& options;
  SceneryFile& file;
  std::mt19937 random;
  uint32_t estimated_size = 0;

  bool Chance(uint32_t percent) { return random() % 100 < percent; }

  int32_t Between(int32_t low, int32_t high) {
    return low + static_cast<int32_t>(random() % static_cast<uint32_t>(high - low));
  }

  std::vector<uint8_t> Data(uint32_t count) {
    std::vector<uint8_t> data(count);
    for (uint8_t& byte : data) byte = static_cast<uint8_t>(random());
    return data;
  }

  void AddHeader(uint16_t level) {
    Entry entry;
    entry.kind = level;
    entry.data = Data(4 + random() % 28);
    entry.data_offset = random();
    estimated_size += 16 + static_cast<uint32_t>(entry.data.size());
    file.index.push_back(entry);
  }

  // Positions inside the area, or in the part of the box west of it.
  void AddObject(uint16_t object_class, bool inside) {
    Object object;
    object.before.push_back(SubRecord{3, 0, Data(options.model_bytes)});
    object.latitude = inside ? Between(kArea.south + 1, kArea.north) : Between(1100000, 1900000);
    object.longitude = inside ? Between(kArea.west + 1, kArea.east) : Between(100000000, 125000000);
    file.objects.push_back(object);
    Entry entry;
    entry.kind = 5;
    entry.object_class = object_class;
    entry.object = static_cast<int>(file.objects.size()) - 1;
    entry.data = Data(8);
    estimated_size += 16 + 8 + 56 + options.model_bytes;
    file.index.push_back(entry);
  }

  void AddLevel3Group() {
    AddHeader(3);
    for (uint32_t g = 0; g < options.level4_per_level3; ++g) {
      AddHeader(4);
      const bool inside = Chance(options.percent_inside);
      for (uint32_t i = 0; i < options.objects_per_level4; ++i) AddObject(1, inside);
    }
  }

  void AddLevel1Group() {
    AddHeader(1);
    for (uint32_t g2 = 0; g2 < options.level2_per_level1; ++g2) {
      AddHeader(2);
      for (uint32_t i = 0; i < options.other_objects_per_level2; ++i) {
        AddObject(static_cast<uint16_t>(2 + random() % 3), Chance(options.percent_inside));
      }
      for (uint32_t g3 = 0; g3 < options.level3_per_level2; ++g3) AddLevel3Group();
    }
  }
};

}  // namespace

GeneratedScenery GenerateScenery(const GeneratorOptions& options) {
  GeneratedScenery generated;
  SceneryFile& file = generated.file;
  file.north = 2000000;
  file.south = 1000000;
  file.east = 200000000;
  file.west = 100000000;
  generated.area = kArea;
  Generator generator{options, file, std::mt19937(options.seed)};
  do {
    generator.AddLevel1Group();
  } while (generator.estimated_size < options.target_size);
  return generated;
}

GeneratedFiles GenerateSceneryFiles(const GeneratorOptions& options, uint32_t count) {
  GeneratedFiles generated;
  GeneratorOptions each = options;
  for (uint32_t i = 0; i < count; ++i) {
    each.seed = options.seed + i;
    const GeneratedScenery scenery = GenerateScenery(each);
    generated.area = scenery.area;
    generated.files.push_back(WriteSceneryFile(scenery.file).bytes);
    generated.total_bytes += generated.files.back().size();
  }
  return generated;
}

}  // namespace scenery_source
