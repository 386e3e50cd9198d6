// sceneward visedit LIBRARY SCRIPT FOLDER [--remove]
#include <iostream>
#include <memory>
#include <string>

#include "sceneward/exports/vis_edit.h"
#include "sceneward/files/file_system_posix.h"
#include "sceneward/library/area_list.h"
#include "sceneward/library/library_file.h"
#include "tools/sceneward/area_warnings.h"
#include "tools/sceneward/commands.h"
#include "tools/sceneward/report.h"

namespace {

struct VisEditOptions {
  std::string library;
  std::string script;
  std::string folder;
  bool remove = false;
};

int CountEntries(const LibraryImage& image) {
  uint32_t offset = static_cast<uint32_t>(SectionOffset(image, kAreaListSection));
  AreaEntry entry;
  int count = 0;
  for (; ReadAreaEntry(image.bytes, image.size, offset, &entry) == AreaStep::kEntry; ++count) {
    offset = entry.end;
  }
  return count;
}

int RunVisEdit(const VisEditOptions& o) {
  ScenewardState state{};
  AreaWritings writings{};
  state.area_writings = &writings;
  PosixFileSystem fs;
  int32_t status =
      VisEdit(state, fs, o.library.c_str(), o.script.c_str(), o.folder.c_str(), o.remove ? 1 : 0);
  WarnAboutAreas(o.script.c_str(), state.edit, writings);
  if (status != 0) {
    ReportFailure(state.problem, status);
    return status;
  }
  LibraryImage image;
  if (LoadLibraryFile(fs, o.library.c_str(), &image, nullptr) == 0) {
    std::cout << o.library << ": rewritten, " << CountEntries(image) << " area entries\n";
    FreeLibraryImage(fs, &image);
  }
  return status;
}

}  // namespace

void AddVisEditCommand(CLI::App& app, int* exit_status) {
  auto options = std::make_shared<VisEditOptions>();
  CLI::App* command = app.add_subcommand(
      "visedit",
      "Adds the script's area entry to the library, replacing one of the same title in place, or "
      "removes it with --remove. The library is replaced only once the new one is complete.");
  command->add_option("LIBRARY", options->library, "the scenery library, WORLD.VIS")->required();
  command->add_option("SCRIPT", options->script, "the edit script, Sceneward.DAT")->required();
  command
      ->add_option("FOLDER", options->folder,
                   "the add-on's scenery folder, written into the entry as FOLDER\\*.BGL")
      ->required();
  command->add_flag("--remove", options->remove, "remove the entry instead of adding it");
  command->callback([options, exit_status] { *exit_status = RunVisEdit(*options); });
}
