#include "sceneward/exports/area_kill.h"

#include "sceneward/exports/area_scan.h"
#include "sceneward/exports/script_run.h"
#include "sceneward/library/area_list.h"
#include "sceneward/library/library_file.h"

namespace {

int32_t ScanEveryArea(ScenewardState& state, FileSystem& fs, const LibraryImage& image,
                      const char* library_path, const char* /*script_path*/) {
  // One block for the walk: the start folder, then the room each area is
  // resolved in, every part as long as the file system's paths.
  const uint32_t path_bytes = fs.MaxPathBytes();
  char* paths = static_cast<char*>(fs.AllocateBlock(3 * path_bytes));
  if (paths == nullptr) {
    SetDiagnostic(&state.problem, library_path, 0, "not enough memory for the areas' folder paths");
    return kStatusNoMemory;
  }
  // Each scan leaves the process in the folder it scanned; relative folders
  // are taken from where the walk began, not from the area before.
  const AreaWalk walk{fs.CurrentFolder(paths, path_bytes) ? paths : nullptr,
                      AreaPaths{paths + path_bytes, paths + 2 * path_bytes, path_bytes}};
  uint32_t offset = static_cast<uint32_t>(SectionOffset(image, kAreaListSection));
  AreaEntry entry;
  // The loaded image has been checked: every entry and the list's end lie
  // inside it.
  while (ReadAreaEntry(image.bytes, image.size, offset, &entry) == AreaStep::kEntry) {
    ScanAreaFolder(state, fs, walk, state.area_kill.areas, entry.folder_pattern);
    state.area_kill.areas += 1;
    offset = entry.end;
  }
  fs.FreeBlock(paths);
  // A scenery file that could not be processed has recorded its own failure.
  return kStatusOk;
}

}  // namespace

int32_t AreaKill(ScenewardState& state, FileSystem& fs, const char* library_path,
                 const char* script_path, const char* root_folder, int32_t unused) {
  // `unused` is kept in the parameters' remove flag; nothing here reads it.
  state.area_kill = AreaKillTally{};
  return RunScriptOverLibrary(state, fs, library_path, script_path, root_folder, unused,
                              ScanEveryArea);
}
