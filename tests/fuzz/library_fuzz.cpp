// The simulator's scenery library, which many add-ons have written, edited
// by VISEdit in memory. The first byte chooses adding or removing the
// add-on's entry; the rest is the library. A refused library stays as it
// was; an edited one is a library again, and adding the entry again changes
// nothing when its sections lie apart.
#include <vector>

#include "sceneward/base/status.h"
#include "sceneward/exports/vis_edit.h"
#include "sceneward/library/library_file.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/fuzz_targets.h"
#include "tests/support/sceneward_fake_file_system.h"

namespace {

const char kLibrary[] = "C:\\FS98\\SCENEDIR\\WORLD.VIS";
const char kScript[] = "D:\\Aerilon\\Sceneward.DAT";
const char kFolder[] = "D:\\Aerilon\\Scenery";
const char kScriptText[] =
    "TITLE \"Aerilon\"\r\nTYPE REGIONAL\r\nAFLAG ACTIVE\r\nAREA 12G30ME, 46G0MN, 13G0ME, "
    "45G30MN\r\n";

// Sections that share an offset each take the bytes up to the next greater
// one, so such a library grows with every edit; one with six offsets of its
// own is written back as it is.
bool SectionsApart(std::vector<uint8_t>& library) {
  LibraryImage image{library.data(), static_cast<uint32_t>(library.size())};
  for (int a = 1; a <= kLibrarySections; ++a) {
    for (int b = a + 1; b <= kLibrarySections; ++b) {
      if (SectionOffset(image, a) == SectionOffset(image, b)) return false;
    }
  }
  return true;
}

int32_t Edit(FakeFileSystem& fs, int32_t remove) {
  ScenewardState state{};
  return VisEdit(state, fs, kLibrary, kScript, kFolder, remove);
}

}  // namespace

int FuzzLibrary(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  int32_t remove = in.Byte() & 1;
  size_t length = 0;
  const uint8_t* library = in.Rest(&length);
  FakeFileSystem fs;
  fs.files[kLibrary].assign(library, library + length);
  fs.Put(kScript, kScriptText);
  const std::vector<uint8_t> old = fs.files[kLibrary];

  int32_t status = Edit(fs, remove);
  FuzzCheck(fs.live_blocks == 0, "VISEdit frees every block");
  FuzzCheck(fs.files.size() == 2, "VISEdit leaves no file of its own behind");
  if (status != kStatusOk) {
    FuzzCheck(fs.files[kLibrary] == old, "a refused library stays byte for byte as it was");
    return 0;
  }
  std::vector<uint8_t> edited = fs.files[kLibrary];
  Diagnostic problem{};
  FuzzCheck(CheckLibraryImage(edited.data(), static_cast<uint32_t>(edited.size()), &problem),
            "the edited library is a library");
  FuzzCheck(Edit(fs, remove) == kStatusOk, "an edited library can be edited again");
  // A second removal takes the next entry of the same title, if any.
  FuzzCheck(remove != 0 || !SectionsApart(edited) || fs.files[kLibrary] == edited,
            "adding the entry again changes nothing");
  return 0;
}
