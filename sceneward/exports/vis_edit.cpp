#include "sceneward/exports/vis_edit.h"

#include "sceneward/exports/script_run.h"
#include "sceneward/library/library_file.h"
#include "sceneward/library/library_writer.h"

namespace {

// Builds the new library in memory and puts it in the old one's place.
int32_t RewriteLibrary(ScenewardState& state, FileSystem& fs, const LibraryImage& image,
                       const char* library_path) {
  uint8_t* bytes = static_cast<uint8_t*>(fs.AllocateBlock(kLibraryMaxLength));
  if (bytes == nullptr) {
    SetDiagnostic(&state.problem, library_path, 0, "not enough memory for the new library");
    return kStatusNoMemory;
  }
  ByteSink sink = MakeByteSink(bytes, kLibraryMaxLength);
  int32_t status = kStatusOk;
  if (!WriteLibraryFile(image, state.edit, sink)) {
    SetDiagnostic(&state.problem, library_path, 0,
                  "the new library would be longer than %u bytes, more than its 16-bit offsets "
                  "can describe; it is left unchanged",
                  static_cast<unsigned>(kLibraryMaxLength));
    status = kStatusNotWritten;
  } else if (!ReplaceFileContents(fs, library_path, kNewLibraryName, sink.bytes, sink.size)) {
    SetDiagnostic(&state.problem, library_path, 0,
                  "cannot write the new library; the old one is left unchanged");
    status = kStatusNotWritten;
  }
  fs.FreeBlock(bytes);
  return status;
}

// The steps after the library and the script are read.
int32_t EditLoadedLibrary(ScenewardState& state, FileSystem& fs, const LibraryImage& image,
                          const char* library_path, const char* script_path) {
  if (state.edit.title == nullptr) {
    // Without a title there is no entry to look for or to write.
    SetDiagnostic(&state.problem, script_path, 0, "the script names no TITLE for the area entry");
    return kStatusScriptFaulty;
  }
  return RewriteLibrary(state, fs, image, library_path);
}

}  // namespace

int32_t VisEdit(ScenewardState& state, FileSystem& fs, const char* library_path,
                const char* script_path, const char* folder, int32_t remove) {
  return RunScriptOverLibrary(state, fs, library_path, script_path, folder, remove,
                              EditLoadedLibrary);
}
