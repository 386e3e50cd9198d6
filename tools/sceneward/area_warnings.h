#pragma once

#include "sceneward/script/area_check.h"
#include "sceneward/script/edit_parameters.h"

// Tells, one line each on standard error, of every AREA of the script that
// reads otherwise than it looks: an edge that wraps around, an area whose
// edges enclose nothing. "sceneward: SCRIPT:LINE: warning: AREA 2: ...",
// with `label` in place of "warning". The operation's status and result
// stay as they are. Returns the number of lines printed.
int WarnAboutAreas(const char* script_path, const EditParameters& edit,
                   const AreaWritings& writings, const char* label = "warning");
