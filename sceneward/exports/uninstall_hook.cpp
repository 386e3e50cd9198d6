#include "sceneward/exports/uninstall_hook.h"

#include <cstring>

#include "sceneward/exports/vis_edit.h"

namespace {

constexpr char kLibraryName[] = "\\WORLD.VIS";
constexpr char kScriptName[] = "\\Sceneward.DAT";
constexpr char kSceneryName[] = "\\Scenery";

// The three paths the hook builds, each in its own heap block.
struct HookPaths {
  char* library = nullptr;
  char* script = nullptr;
  char* folder = nullptr;
};

// A block for a value of `value_size` bytes, `suffix` after it and a terminator.
char* PathBlock(FileSystem& fs, uint32_t value_size, const char* suffix) {
  uint64_t size = static_cast<uint64_t>(value_size) + std::strlen(suffix) + 1;
  if (size > 0x7FFFFFFF) return nullptr;
  return static_cast<char*>(fs.AllocateBlock(static_cast<uint32_t>(size)));
}

// Reads a value into its block and ends the text after the bytes read, so
// that a value stored without a terminator cannot run on into the heap.
bool ReadText(UninstallHost& host, const char* name, char* block, uint32_t value_size) {
  uint32_t got = 0;
  if (!host.ReadValue(name, block, value_size, &got) || got > value_size) return false;
  block[got] = '\0';
  return true;
}

// Fills the paths from the open key; the text to show when a step fails.
const char* BuildPaths(FileSystem& fs, UninstallHost& host, HookPaths& paths) {
  uint32_t size = 0;
  if (!host.ValueSize(kLibraryFolderValue, &size)) return kNoInstallKeyText;
  paths.library = PathBlock(fs, size, kLibraryName);
  if (paths.library == nullptr) return kOutOfMemoryText;
  if (!ReadText(host, kLibraryFolderValue, paths.library, size)) return kNoInstallKeyText;
  std::strcat(paths.library, kLibraryName);

  if (!host.ValueSize(kDataFolderValue, &size)) return kNoInstallKeyText;
  paths.script = PathBlock(fs, size, kScriptName);
  if (paths.script == nullptr) return kOutOfMemoryText;
  paths.folder = PathBlock(fs, size, kSceneryName);
  if (paths.folder == nullptr) return kOutOfMemoryText;
  if (!ReadText(host, kDataFolderValue, paths.script, size)) return kNoInstallKeyText;
  std::strcpy(paths.folder, paths.script);
  std::strcat(paths.script, kScriptName);
  std::strcat(paths.folder, kSceneryName);
  return nullptr;
}

}  // namespace

int32_t RunUninstallHook(ScenewardState& state, FileSystem& fs, UninstallHost& host) {
  if (!host.OpenInstallKey()) {
    host.ShowError(kNoInstallKeyText);
    return 0;
  }
  HookPaths paths;
  const char* problem = BuildPaths(fs, host, paths);
  host.CloseInstallKey();  // everything needed from it has been read
  if (problem == nullptr &&
      VisEdit(state, fs, paths.library, paths.script, paths.folder, 1) != kStatusOk) {
    problem = kEntryNotRemovedText;
  }
  if (problem != nullptr) host.ShowError(problem);
  fs.FreeBlock(paths.library);
  fs.FreeBlock(paths.script);
  fs.FreeBlock(paths.folder);
  return 0;
}
