#include "sceneward/writer/area_sample.h"

namespace scenery_source {

SceneryFile OneObjectInsideOneOutside(const KillArea& area) {
  SceneryFile file;
  file.north = area.north + 1000;
  file.south = area.south - 1000;
  file.east = area.east + 1000;
  file.west = area.west - 1000;
  for (uint16_t level = 1; level <= 4; ++level) {
    Entry header;
    header.kind = level;
    header.data = {static_cast<uint8_t>(0x40 + level), 0, 0x11, 0x22};
    header.data_offset = 0xABCD0000u + level;  // what a header carries is copied as it is
    header.carried = static_cast<uint16_t>(0x100 + level);
    file.index.push_back(header);
  }
  for (bool inside : {true, false}) {
    Object object;
    object.latitude = inside ? (area.north + area.south) / 2 : area.north + 500;
    object.longitude = (area.east + area.west) / 2;
    file.objects.push_back(object);
    Entry entry;
    entry.object_class = 1;
    entry.object = static_cast<int>(file.objects.size()) - 1;
    entry.data = {0x0B, static_cast<uint8_t>(inside)};
    file.index.push_back(entry);
  }
  return file;
}

}  // namespace scenery_source
