#include "sceneward/exports/area_scan.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "common/c_runtime.h"
#include "sceneward/base/status.h"
#include "sceneward/files/file_pattern.h"
#include "sceneward/scenery/scenery_filter.h"

namespace {

// Keeps `path` for the diagnostic, cut to fit; returns the kept copy.
const char* KeepProblemPath(ScenewardState& state, const char* folder, const char* name) {
  if (folder == nullptr) {
    FormatFits(state.problem_path, sizeof state.problem_path, "%s", name);
  } else {
    FormatFits(state.problem_path, sizeof state.problem_path, "%s\\%s", folder, name);
  }
  return state.problem_path;
}

bool Refuse(Diagnostic* problem, const char* what) {
  SetDiagnostic(problem, nullptr, 0, "%s", what);
  return false;
}

// Says what is wrong with the scenery file `name`.
void FileProblem(ScenewardState& state, const char* name, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
void FileProblem(ScenewardState& state, const char* name, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  SetDiagnosticV(&state.problem, KeepProblemPath(state, nullptr, name), 0, format, arguments);
  va_end(arguments);
}

}  // namespace

namespace {

bool IsRelativePath(const char* path) {
  bool rooted = path[0] == '\\' || path[0] == '/';
  bool drive = path[0] != '\0' && path[1] == ':';
  return !rooted && !drive;
}

bool HasRootPrefix(const char* folder_pattern) {
  return std::strncmp(folder_pattern, kRootFolderPrefix, sizeof kRootFolderPrefix - 1) == 0;
}

// Whether the area's path begins with a drive letter: the root folder's
// for a pattern that stands under it, the pattern's own otherwise.
bool NamesADrive(const char* folder_pattern, const char* root_folder) {
  const char* path = HasRootPrefix(folder_pattern) ? root_folder : folder_pattern;
  if (path == nullptr) return false;
  const char letter = static_cast<char>(path[0] & ~0x20);
  return letter >= 'A' && letter <= 'Z' && path[1] == ':';
}

bool TooLong(Diagnostic* problem, const char* what, uint32_t size) {
  SetDiagnostic(problem, nullptr, 0,
                "the area's %s is longer than %u characters, the longest path this system takes",
                what, static_cast<unsigned>(size - 1));
  return false;
}

}  // namespace

bool ResolveAreaFolder(const char* folder_pattern, const char* root_folder,
                       const char* start_folder, const AreaPaths& room, AreaFolder* out,
                       Diagnostic* problem) {
  const size_t prefix_length = sizeof kRootFolderPrefix - 1;
  char* path = room.composed;
  bool fits;
  if (HasRootPrefix(folder_pattern)) {
    if (root_folder == nullptr) return Refuse(problem, "the area needs a root folder; none given");
    fits = FormatFits(path, room.size, "%s%s", root_folder, folder_pattern + prefix_length);
  } else {
    fits = FormatFits(path, room.size, "%s", folder_pattern);
  }
  if (!fits) return TooLong(problem, "folder path", room.size);
  const char* last_separator = std::strrchr(path, '\\');
  if (last_separator == nullptr) {
    return Refuse(problem, "the area's folder pattern has no \"\\\" before its file pattern");
  }
  const int folder_length = static_cast<int>(last_separator - path);
  if (start_folder != nullptr && IsRelativePath(path)) {
    fits = FormatFits(room.scenery_folder, room.size, "%s\\%.*s\\Scenery", start_folder,
                      folder_length, path);
  } else {
    fits = FormatFits(room.scenery_folder, room.size, "%.*s\\Scenery", folder_length, path);
  }
  if (!fits) return TooLong(problem, "scenery folder path", room.size);
  out->scenery_folder = room.scenery_folder;
  out->file_pattern = last_separator + 1;
  return true;
}

bool FilterSceneryFile(ScenewardState& state, FileSystem& fs, const char* name) {
  FileBlock block;
  switch (fs.ReadWholeFile(name, OpenMode::kReadOnly, 0, &block)) {
    case ReadOutcome::kRead: break;
    case ReadOutcome::kCannotOpen:
      FileProblem(state, name, "the scenery file cannot be read");
      return false;
    case ReadOutcome::kReadFailed:
      FileProblem(state, name, "the scenery file could not be read whole; it is unchanged");
      return false;
    case ReadOutcome::kNoMemory:
      FileProblem(state, name, "not enough memory to read the scenery file");
      return false;
  }
  const EditParameters& edit = state.edit;
  FilterResult result =
      FilterSceneryBytes(ByteSpan{block.bytes, block.size},
                         KillAreaList{edit.kill_areas, edit.kill_area_count}, edit.kill_bounds);
  fs.FreeBlock(block.bytes);
  bool done = true;
  if (result.outcome == FilterOutcome::kFailed) {
    FileProblem(state, name, "%s (offset %u); the file is unchanged",
                DescribeSceneryFault(result.error.fault),
                static_cast<unsigned>(result.error.offset));
    done = false;
  } else if (result.outcome == FilterOutcome::kRewritten) {
    // The rewritten file was assembled in memory, index work file included;
    // on the disk it only ever exists complete, and the old file stays in
    // place until then.
    done = ReplaceFileContents(fs, name, kRewrittenSceneryName, result.rewritten.data,
                               result.rewritten.size);
    if (done) {
      state.area_kill.files_rewritten += 1;
      state.area_kill.objects_dropped += result.objects_dropped;
    } else {
      FileProblem(state, name,
                  "cannot write the rewritten file (%s) or put it in place; the file is "
                  "unchanged",
                  kRewrittenSceneryName);
    }
  }
  ByteBufferFree(result.rewritten);
  return done;
}

namespace {

struct FolderScan {
  ScenewardState* state;
  FileSystem* fs;
  const char* folder;
  bool failed;
};

bool VisitSceneryFile(void* context, const char* name) {
  FolderScan& scan = *static_cast<FolderScan*>(context);
  // A rewritten file left by someone else under our temporary name is no
  // scenery file, and writing over it while reading it would go wrong.
  if (MatchFilePattern(kRewrittenSceneryName, name)) return true;
  if (FilterSceneryFile(*scan.state, *scan.fs, name)) return true;
  // The diagnostic names the file within its folder.
  KeepProblemPath(*scan.state, scan.folder, name);
  scan.failed = true;
  return false;
}

}  // namespace

void ScanAreaFolder(ScenewardState& state, FileSystem& fs, const AreaWalk& walk, uint32_t index,
                    const char* folder_pattern) {
  if (!fs.HasDriveLetters() && NamesADrive(folder_pattern, state.edit.folder)) {
    state.area_kill.areas_skipped += 1;
    if (state.area_notice != nullptr) {
      state.area_notice(state.area_notice_context, index, folder_pattern,
                        "a drive-letter folder names no folder here");
    }
    return;
  }
  AreaFolder area;
  if (!ResolveAreaFolder(folder_pattern, state.edit.folder, walk.start_folder, walk.room, &area,
                         &state.problem)) {
    state.problem.file = KeepProblemPath(state, nullptr, folder_pattern);
    RecordFailure(state.last_status, kStatusNotWritten);
    return;
  }
  // An area whose scenery folder is missing has nothing to clear.
  if (!fs.ChangeFolder(area.scenery_folder)) return;
  state.area_kill.folders_scanned += 1;
  FolderScan scan{&state, &fs, area.scenery_folder, false};
  if (!fs.ListFolder(area.file_pattern, VisitSceneryFile, &scan)) {
    SetDiagnostic(&state.problem, KeepProblemPath(state, nullptr, area.scenery_folder), 0,
                  "the scenery folder cannot be listed");
    scan.failed = true;
  }
  if (scan.failed) RecordFailure(state.last_status, kStatusNotWritten);
}
