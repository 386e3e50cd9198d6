#pragma once

// Layer sceneward/exports: the library-wide state and the exported
// operations built on every layer below: VISEdit, the AreaKill walk over the
// library's areas, and the uninstall hook's steps behind a registry and
// message-box interface. The DLL's Windows glue in win32/ sits on top.

#include <cstdint>

#include "sceneward/base/diagnostic.h"
#include "sceneward/base/status.h"
#include "sceneward/files/file_system.h"
#include "sceneward/script/area_check.h"
#include "sceneward/script/edit_parameters.h"

// What the latest AreaKill did, for the command-line tool's report.
struct AreaKillTally {
  uint32_t areas;            // entries of the library's area list
  uint32_t areas_skipped;    // areas whose folder names none on this system
  uint32_t folders_scanned;  // their scenery folders that could be entered
  uint32_t files_rewritten;  // scenery files replaced by their rewritten content
  uint32_t objects_dropped;  // index entries of objects left out of those files
};

// Told of an area that the walk leaves out because its folder names none on
// this system: its place in the area list (from 0), its folder pattern and
// why. The command-line tool prints it; the DLL tells no one.
using AreaNotice = void (*)(void* context, uint32_t area, const char* folder_pattern,
                            const char* reason);

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
  AreaNotice area_notice;  // null: no one is told
  void* area_notice_context;
  // Where the script's parse keeps how its areas were written, for the
  // command-line tool's warnings; null (the DLL) keeps nothing.
  AreaWritings* area_writings;
};
