// The edit script the setup program hands to Sceneward, read as the DLL
// reads it: from a file, turned into text mode, then parsed.
#include "sceneward/base/status.h"
#include "sceneward/script/edit_script.h"
#include "tests/fuzz/fuzz_targets.h"
#include "tests/support/sceneward_fake_file_system.h"

namespace {

bool Inside(const KillArea& area, const KillArea& bounds) {
  return area.west >= bounds.west && area.east <= bounds.east && area.north <= bounds.north &&
         area.south >= bounds.south;
}

}  // namespace

int FuzzEditScript(const uint8_t* data, size_t size) {
  FakeFileSystem fs;
  fs.files["EDIT.TXT"].assign(data, data + size);
  EditParameters edit = kDefaultEditParameters;
  int32_t status = kStatusOk;
  Diagnostic problem{};
  char* text = ParseEditScript(fs, "EDIT.TXT", edit, &status, &problem);
  if (text == nullptr) {
    FuzzCheck(status == kStatusScriptFaulty || status == kStatusNoMemory,
              "a script that was read is refused only as faulty");
    FuzzCheck(fs.live_blocks == 0, "a refused script's text is freed");
    return 0;
  }
  FuzzCheck(edit.kill_area_count >= 0 && edit.kill_area_count <= kMaxKillAreas,
            "the areas fit their table");
  for (int32_t i = 0; i < edit.kill_area_count; ++i) {
    FuzzCheck(Inside(edit.kill_areas[i], edit.kill_bounds), "the bounds hold every area");
  }
  fs.FreeBlock(text);
  FuzzCheck(fs.live_blocks == 0, "the script's text is the one block");
  return 0;
}
