#pragma once

#include <cstdint>

#include "sceneward/exports/sceneward_state.h"
#include "sceneward/files/file_system.h"

// The file the new library is written to, beside the old one, before it
// takes the old one's place.
constexpr char kNewLibraryName[] = "VisEdit.$$$";

// Adds, replaces or (remove non-zero) removes the add-on's area entry in the
// scenery library at `library_path`, under the title that the edit script
// names, with `folder` as the entry's scenery folder. The old library stays
// byte for byte as it was unless the new one was written completely.
// Records a failing step's code in state.last_status and returns it:
// 1, 6 or 2 for the library, 4, 6 or 5 for the script, 6 or 3 for writing.
int32_t VisEdit(ScenewardState& state, FileSystem& fs, const char* library_path,
                const char* script_path, const char* folder, int32_t remove);
