#pragma once

#include <cstdint>

#include "sceneward/exports/sceneward_state.h"
#include "sceneward/files/file_system.h"

// The file the rewritten scenery file is written to, in the folder being
// scanned, before it takes the scanned file's place.
constexpr char kRewrittenSceneryName[] = "Temp.$$$";

// The prefix of a folder pattern that stands for AreaKill's root folder.
constexpr char kRootFolderPrefix[] = "=:\\=";

// Room for resolving one area's folder: two buffers of `size` bytes, the
// longest path the file system takes.
struct AreaPaths {
  char* composed;        // the folder pattern with the root folder put in
  char* scenery_folder;  // the folder the area's files lie in
  uint32_t size;
};

// Where an area's scenery files lie: "=:\=" at the start of its folder
// pattern replaced by the root folder, the file pattern after the last "\",
// and the scenery folder, which is the text before that "\" followed by
// "\Scenery". A relative scenery folder is put below `start_folder` (null
// leaves it relative). Both texts point into `room`. False, with the reason
// in the diagnostic, for a pattern that has no "\", needs a root folder that
// was not given, or whose paths do not fit the room.
struct AreaFolder {
  const char* scenery_folder;
  const char* file_pattern;
};
bool ResolveAreaFolder(const char* folder_pattern, const char* root_folder,
                       const char* start_folder, const AreaPaths& room, AreaFolder* out,
                       Diagnostic* problem);

// What a walk over the area list keeps from one area to the next: the
// folder current when the walk began (null when it cannot be told), and the
// room each area is resolved in.
struct AreaWalk {
  const char* start_folder;
  AreaPaths room;
};

// Removes the objects inside the script's areas from the scenery file
// `name` of the current folder. A file outside the bounds, without the
// index mark, or unreadable is left as it is; a rewritten file takes the
// old one's place only once it is completely on the disk. False, with the
// reason in state.problem, when the file could not be processed.
bool FilterSceneryFile(ScenewardState& state, FileSystem& fs, const char* name);

// Filters every file of one area's scenery folder that matches its file
// pattern, making that folder the current folder (it stays so afterwards).
// A relative scenery folder is taken from the walk's start folder, so an
// area does not depend on the folder the one before it entered. A folder
// that cannot be entered is skipped silently; the first file that fails
// records status 3 and ends the scan of this folder.
// An area whose folder begins with a drive letter, on a file system that
// has none, names no folder there: it is counted, told to the state's
// notice with `index`, its place in the list, and skipped without a status.
void ScanAreaFolder(ScenewardState& state, FileSystem& fs, const AreaWalk& walk, uint32_t index,
                    const char* folder_pattern);
