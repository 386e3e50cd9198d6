#pragma once

// Layer sceneward/script: the edit script and the edit parameters it fills:
// keywords, value words, coordinates and the areas to clear. It uses base/
// and files/.

#include <cstdint>

#include "sceneward/base/diagnostic.h"
#include "sceneward/files/file_system.h"
#include "sceneward/script/area_check.h"
#include "sceneward/script/edit_parameters.h"

// The longest word (keyword, value word, CACHE number, first word of a
// comment) the script may hold.
constexpr uint32_t kMaxWordLength = 11;

// Reads a terminated script text into `edit`. The text is cut in place: the
// closing quote of every quoted text becomes its terminator, and TITLE,
// SOURCE and DEST point into it. Fields set before a fault keep their values.
// On a fault: false, with the line and the reason in the diagnostic (whose
// file is left to the caller). With `writings`, how each area stored was
// written is kept there too; the parameters come out the same either way.
bool ParseEditScriptText(char* text, EditParameters& edit, Diagnostic* problem,
                         AreaWritings* writings = nullptr);

// Loads the script at `path` and reads it into `edit`. Returns the script
// buffer, which the caller frees with fs.FreeBlock once the texts pointing
// into it are no longer needed; or null, with *status set to 4 (cannot open),
// 6 (no memory) or 5 (faulty script).
char* ParseEditScript(FileSystem& fs, const char* path, EditParameters& edit, int32_t* status,
                      Diagnostic* problem, AreaWritings* writings = nullptr);
