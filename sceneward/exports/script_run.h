#pragma once

#include <cstdint>

#include "sceneward/exports/sceneward_state.h"
#include "sceneward/files/file_system.h"
#include "sceneward/library/library_file.h"

// What an exported operation does once both the scenery library and the edit
// script are read; it returns a status code (kStatusOk when nothing failed).
using ScriptStep = int32_t (*)(ScenewardState& state, FileSystem& fs, const LibraryImage& image,
                               const char* library_path, const char* script_path);

// The frame that VISEdit and AreaKill share: loads the library, resets the
// edit parameters (with `folder` and the flag `flag` of the call), parses the
// script, runs `step`, then frees the script and the library. A failing
// step's code is recorded in state.last_status, which is returned; the
// library comes first, so a missing library is told before a faulty script.
int32_t RunScriptOverLibrary(ScenewardState& state, FileSystem& fs, const char* library_path,
                             const char* script_path, const char* folder, int32_t flag,
                             ScriptStep step);
