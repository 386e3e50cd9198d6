#pragma once

#include "sceneward/diagnostic.h"
#include "sceneward/edit_parameters.h"
#include "sceneward/status.h"

// All the state the exports keep between and during calls. The DLL holds one
// instance; tests and the command-line tool make their own. Zero-initialised
// (`ScenewardState state{};`) it is the state of a freshly loaded library.
struct ScenewardState {
  LastStatus last_status;
  EditParameters edit;
  Diagnostic problem;  // why the latest failing step failed
  // The scenery file or folder pattern a failure of the area scan concerns:
  // its name lives only during the scan, so problem.file points here.
  char problem_path[520];
};
