// sceneward areakill LIBRARY SCRIPT ROOT
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <iostream>
#include <memory>
#include <string>

#include "commands.h"
#include "report.h"
#include "sceneward/area_kill.h"
#include "sceneward/file_system_posix.h"

namespace {

struct AreaKillOptions {
  std::string library;
  std::string script;
  std::string root;
};

// The scan moves from folder to folder, so a relative root folder would be
// read from the wrong place after the first area: it is made absolute first.
std::string AbsoluteFolder(const std::string& folder) {
  char resolved[PATH_MAX];
  if (realpath(folder.c_str(), resolved) != nullptr) return resolved;
  char current[PATH_MAX];
  if (folder.empty() || folder[0] == '/' || getcwd(current, sizeof current) == nullptr) {
    return folder;
  }
  return std::string(current) + "/" + folder;
}

int RunAreaKill(const AreaKillOptions& o) {
  ScenewardState state{};
  PosixFileSystem fs;
  const std::string root = AbsoluteFolder(o.root);
  char start[PATH_MAX];
  const bool have_start = getcwd(start, sizeof start) != nullptr;
  int32_t status = AreaKill(state, fs, o.library.c_str(), o.script.c_str(), root.c_str(), 0);
  if (have_start && chdir(start) != 0) std::cerr << "sceneward: cannot return to " << start << "\n";
  if (status != 0) {
    ReportFailure(state.problem, status);
    return status;
  }
  const AreaKillTally& done = state.area_kill;
  std::cout << o.library << ": areas " << done.areas << ", scenery folders scanned "
            << done.folders_scanned << ", files rewritten " << done.files_rewritten
            << ", objects removed " << done.objects_dropped;
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
