#pragma once

#include <cstdint>

#include "sceneward/exports/sceneward_state.h"
#include "sceneward/files/file_system.h"

// Removes the objects that the edit script's AREA rectangles enclose from
// the indexed scenery files of every area of the scenery library, in list
// order, whatever the area's type or active flag. `root_folder` stands for
// the "=:\=" prefix of folder patterns; `unused` is accepted and ignored.
// The library is only read. The process's current folder is left at the
// last scenery folder scanned. Records a failing step's code in
// state.last_status and returns it: 1, 6 or 2 for the library, 4, 6 or 5
// for the script, 3 when a scenery file could not be processed, 6 when no
// memory is left for the areas' folder paths.
int32_t AreaKill(ScenewardState& state, FileSystem& fs, const char* library_path,
                 const char* script_path, const char* root_folder, int32_t unused);
