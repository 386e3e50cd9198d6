// sceneward areakill LIBRARY SCRIPT ROOT
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <iostream>
#include <memory>
#include <string>

#include "sceneward/exports/area_kill.h"
#include "sceneward/files/file_system_posix.h"
#include "tools/sceneward/area_warnings.h"
#include "tools/sceneward/commands.h"
#include "tools/sceneward/report.h"

namespace {

struct AreaKillOptions {
  std::string library;
  std::string script;
  std::string root;
};

// The scan moves from folder to folder, so a relative root folder would be
// read from the wrong place after the first area: it is made absolute first.
// The system sizes both paths, so any path it takes is taken here.
std::string AbsoluteFolder(const std::string& folder) {
  if (char* resolved = realpath(folder.c_str(), nullptr)) {
    std::string absolute = resolved;
    free(resolved);
    return absolute;
  }
  char* current = folder.empty() || folder[0] == '/' ? nullptr : getcwd(nullptr, 0);
  if (current == nullptr) return folder;
  std::string absolute = std::string(current) + "/" + folder;
  free(current);
  return absolute;
}

// "sceneward: WORLD.VIS: area 3 (C:\X\*.BGL): ...; skipped", the area
// numbered as `show` numbers it.
void TellSkippedArea(void* library, uint32_t area, const char* folder_pattern, const char* reason) {
  std::cerr << "sceneward: " << *static_cast<const std::string*>(library) << ": area " << area
            << " (" << Shown1252(folder_pattern) << "): " << ShownPath(reason) << "; skipped\n";
}

int RunAreaKill(const AreaKillOptions& o) {
  ScenewardState state{};
  AreaWritings writings{};
  state.area_writings = &writings;
  state.area_notice = TellSkippedArea;
  state.area_notice_context = const_cast<std::string*>(&o.library);
  PosixFileSystem fs;
  const std::string root = AbsoluteFolder(o.root);
  // The scan leaves the process in the last scenery folder; the folder the
  // tool started in is held open, not by its name, to come back to it.
  const int start = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  int32_t status = AreaKill(state, fs, o.library.c_str(), o.script.c_str(), root.c_str(), 0);
  if (start >= 0) {
    if (fchdir(start) != 0) std::cerr << "sceneward: cannot return to the folder it started in\n";
    close(start);
  }
  WarnAboutAreas(o.script.c_str(), state.edit, writings);
  if (status != 0) {
    ReportFailure(state.problem, status);
    return status;
  }
  const AreaKillTally& done = state.area_kill;
  std::cout << o.library << ": areas " << done.areas << ", skipped " << done.areas_skipped
            << ", scenery folders scanned " << done.folders_scanned << ", files rewritten "
            << done.files_rewritten << ", objects removed " << done.objects_dropped;
  if (state.edit.kill_area_count == 0) std::cout << " (the script has no AREA)";
  std::cout << "\n";
  return status;
}

}  // namespace

void AddAreaKillCommand(CLI::App& app, int* exit_status) {
  auto options = std::make_shared<AreaKillOptions>();
  CLI::App* command = app.add_subcommand(
      "areakill",
      "Removes the objects inside the script's AREA rectangles from the indexed scenery files of "
      "every area in the library. A scenery file is replaced only once its new content is "
      "complete; the library is only read.");
  command->add_option("LIBRARY", options->library, "the scenery library, WORLD.VIS")->required();
  command->add_option("SCRIPT", options->script, "the edit script, Sceneward.DAT")->required();
  command
      ->add_option("ROOT", options->root,
                   "the folder that the \"=:\\=\" prefix of folder patterns stands for")
      ->required();
  command->callback([options, exit_status] { *exit_status = RunAreaKill(*options); });
}
