#include "sceneward/area_kill.h"

#include "sceneward/area_list.h"
#include "sceneward/area_scan.h"
#include "sceneward/library_file.h"
#include "sceneward/script_run.h"

namespace {

int32_t ScanEveryArea(ScenewardState& state, FileSystem& fs, const LibraryImage& image,
                      const char* /*library_path*/, const char* /*script_path*/) {
  // Each scan leaves the process in the folder it scanned; relative folders
  // are taken from where the walk began, not from the area before.
  char start[kMaxAreaPathLength + 1];
  const char* start_folder = fs.CurrentFolder(start, sizeof start) ? start : nullptr;
  uint32_t offset = static_cast<uint32_t>(SectionOffset(image, kAreaListSection));
  AreaEntry entry;
  // The loaded image has been checked: every entry and the list's end lie
  // inside it.
  while (ReadAreaEntry(image.bytes, image.size, offset, &entry) == AreaStep::kEntry) {
    state.area_kill.areas += 1;
    ScanAreaFolder(state, fs, entry.folder_pattern, start_folder);
    offset = entry.end;
  }
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
