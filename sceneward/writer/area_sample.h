#pragma once

#include "sceneward/script/kill_area.h"
#include "sceneward/writer/scenery_writer.h"

namespace scenery_source {

// The smallest indexed file that an area removal changes: its box reaches
// 1000 units beyond the area on every side, and a level-1 to level-4 group
// holds two class-1 objects, the first in the area's middle, the second 500
// units north of it. Entry data tell them apart: {0x0B, 1} inside,
// {0x0B, 0} outside.
SceneryFile OneObjectInsideOneOutside(const KillArea& area);

}  // namespace scenery_source
