#pragma once

#include <cstdint>

#include "sceneward/diagnostic.h"
#include "sceneward/edit_parameters.h"
#include "sceneward/file_system.h"
#include "sceneward/status.h"

// What the latest AreaKill did, for the command-line tool's report.
struct AreaKillTally {
  uint32_t areas;            // entries of the library's area list
  uint32_t folders_scanned;  // their scenery folders that could be entered
  uint32_t files_rewritten;  // scenery files replaced by their rewritten content
  uint32_t objects_dropped;  // index entries of objects left out of those files
};

// All the state the exports keep between and during calls. The DLL holds one
// instance; tests and the command-line tool make their own. Zero-initialised
// (`ScenewardState state{};`) it is the state of a freshly loaded library.
struct ScenewardState {
  LastStatus last_status;
  EditParameters edit;
  Diagnostic problem;  // why the latest failing step failed
  // The scenery file or folder pattern a failure of the area scan concerns:
  // its name lives only during the scan, so problem.file points here. Room
  // for a scenery folder and a file name in it, each as long as a path.
  char problem_path[2 * kLongestPathBytes];
  AreaKillTally area_kill;
};
