#pragma once

#include <cstdint>

#include "sceneward/file_system.h"
#include "sceneward/sceneward_state.h"

// The file the rewritten scenery file is written to, in the folder being
// scanned, before it takes the scanned file's place.
constexpr char kRewrittenSceneryName[] = "Temp.$$$";

// The prefix of a folder pattern that stands for AreaKill's root folder.
constexpr char kRootFolderPrefix[] = "=:\\=";

// The longest folder path and file pattern an area may give; longer ones
// are refused rather than cut.
constexpr uint32_t kMaxAreaPathLength = 255;
constexpr uint32_t kMaxFilePatternLength = 15;

// Where an area's scenery files lie: "=:\=" at the start of its folder
// pattern replaced by the root folder, the file pattern after the last "\",
// and the scenery folder, which is the text before that "\" followed by
// "\Scenery". False, with the reason in the diagnostic, for a pattern that
// is too long, has no "\", or needs a root folder that was not given.
struct AreaFolder {
  char scenery_folder[kMaxAreaPathLength + 1];
  char file_pattern[kMaxFilePatternLength + 1];
};
bool ResolveAreaFolder(const char* folder_pattern, const char* root_folder, AreaFolder* out,
                       Diagnostic* problem);

// Removes the objects inside the script's areas from the scenery file
// `name` of the current folder. A file outside the bounds, without the
// index mark, or unreadable is left as it is; a rewritten file takes the
// old one's place only once it is completely on the disk. False, with the
// reason in state.problem, when the file could not be processed.
bool FilterSceneryFile(ScenewardState& state, FileSystem& fs, const char* name);

// Filters every file of one area's scenery folder that matches its file
// pattern, making that folder the current folder (it stays so afterwards).
// A folder that cannot be entered is skipped silently; the first file that
// fails records status 3 and ends the scan of this folder.
void ScanAreaFolder(ScenewardState& state, FileSystem& fs, const char* folder_pattern);
