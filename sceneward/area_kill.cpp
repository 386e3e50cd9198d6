#include "sceneward/area_kill.h"

#include "sceneward/area_list.h"
#include "sceneward/area_scan.h"
#include "sceneward/edit_script.h"
#include "sceneward/library_file.h"

namespace {

void ScanEveryArea(ScenewardState& state, FileSystem& fs, const LibraryImage& image) {
  uint32_t offset = static_cast<uint32_t>(SectionOffset(image, kAreaListSection));
  AreaEntry entry;
  // The loaded image has been checked: every entry and the list's end lie
  // inside it.
  while (ReadAreaEntry(image.bytes, image.size, offset, &entry) == AreaStep::kEntry) {
    ScanAreaFolder(state, fs, entry.folder_pattern);
    offset = entry.end;
  }
}

}  // namespace

int32_t AreaKill(ScenewardState& state, FileSystem& fs, const char* library_path,
                 const char* script_path, const char* root_folder, int32_t unused) {
  LibraryImage image;
  int32_t status = LoadLibraryFile(fs, library_path, &image, &state.problem);
  if (status != kStatusOk) {
    RecordFailure(state.last_status, status);
    return state.last_status.code;
  }
  ResetEditParameters(state.edit);
  state.edit.folder = root_folder;
  state.edit.remove = unused != 0 ? 1 : 0;  // kept in the record; nothing here reads it
  char* script = ParseEditScript(fs, script_path, state.edit, &status, &state.problem);
  if (script == nullptr) {
    RecordFailure(state.last_status, status);
  } else {
    ScanEveryArea(state, fs, image);
    fs.FreeBlock(script);
    // The texts pointed into the script buffer, which is gone now.
    state.edit.title = state.edit.source = state.edit.dest = nullptr;
  }
  FreeLibraryImage(fs, &image);
  return state.last_status.code;
}
