#include "sceneward/exports/script_run.h"

#include "sceneward/script/edit_script.h"

namespace {

int32_t ParseAndRun(ScenewardState& state, FileSystem& fs, const LibraryImage& image,
                    const char* library_path, const char* script_path, ScriptStep step) {
  int32_t status = kStatusOk;
  char* script =
      ParseEditScript(fs, script_path, state.edit, &status, &state.problem, state.area_writings);
  if (script == nullptr) return status;
  status = step(state, fs, image, library_path, script_path);
  fs.FreeBlock(script);
  ForgetScriptTexts(state.edit);
  return status;
}

}  // namespace

int32_t RunScriptOverLibrary(ScenewardState& state, FileSystem& fs, const char* library_path,
                             const char* script_path, const char* folder, int32_t flag,
                             ScriptStep step) {
  LibraryImage image;
  int32_t status = LoadLibraryFile(fs, library_path, &image, &state.problem);
  if (status != kStatusOk) {
    RecordFailure(state.last_status, status);
    return state.last_status.code;
  }
  ResetEditParameters(state.edit);
  state.edit.folder = folder;
  state.edit.remove = flag != 0 ? 1 : 0;
  status = ParseAndRun(state, fs, image, library_path, script_path, step);
  RecordFailure(state.last_status, status);
  FreeLibraryImage(fs, &image);
  return state.last_status.code;
}
