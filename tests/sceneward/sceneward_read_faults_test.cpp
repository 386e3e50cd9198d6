#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "sceneward/base/status.h"
#include "sceneward/exports/area_kill.h"
#include "sceneward/exports/vis_edit.h"
#include "sceneward/script/edit_script.h"
#include "sceneward/writer/area_sample.h"
#include "tests/support/library_file_builder.h"
#include "tests/support/scenery_test_support.h"
#include "tests/support/sceneward_folder_file_system.h"

// Every step of reading the library, the edit script and a scenery file
// made to go wrong: Sceneward returns the status of the file it could not
// read whole and writes nothing.
namespace {

const char kLibrary[] = "C:\\FS98\\SCENEDIR\\WORLD.VIS";
const char kScript[] = "D:\\Aerilon\\Sceneward.DAT";
const char kFolder[] = "D:\\Aerilon\\Scenery";
const char kAlps[] = "C:\\FS98\\Alps\\Scenery";
const char kScenery[] = "C:\\FS98\\Alps\\Scenery\\ALPS.BGL";
const char kScriptText[] = "TITLE \"Aerilon\"\r\nAREA 1G0ME, 2G0MN, 2G0ME, 1G0MN\r\n";

using ReadFault = FakeFileSystem::ReadFault;
using Files = std::map<std::string, std::vector<uint8_t>>;

// The kinds of fault, for a file of `size` bytes; whether the read is still
// whole (bytes handed over a few at a time are).
struct FaultKind {
  const char* name;
  bool whole;
  ReadFault (*make)(const char* path, int64_t size);
};
const FaultKind kFaultKinds[] = {
    {"a few bytes a read", true,
     [](const char* p, int64_t) {
       return ReadFault{p, false, 3};
     }},
    {"no length", false,
     [](const char* p, int64_t) {
       return ReadFault{p, true};
     }},
    {"failing at once", false,
     [](const char* p, int64_t) {
       return ReadFault{p, false, 0, 0};
     }},
    {"failing half way", false,
     [](const char* p, int64_t size) {
       return ReadFault{p, false, 0, size / 2};
     }},
    {"cut short", false,
     [](const char* p, int64_t size) {
       return ReadFault{p, false, 0, -1, size / 2};
     }},
    {"extended", false,
     [](const char* p, int64_t size) {
       return ReadFault{p, false, 0, -1, size + 9};
     }},
};

struct FaultedFiles {
  FolderFileSystem fs;
  ScenewardState state{};
  FaultedFiles() {
    LibraryFileBuilder library;
    library.entries = {{30, 1, "=:\\=\\Alps\\*.BGL", "Alps"}};
    fs.disk.files[kLibrary] = library.Build();
    fs.disk.Put(kScript, kScriptText);
    std::string text = kScriptText;
    EditParameters edit = kDefaultEditParameters;
    EXPECT_TRUE(ParseEditScriptText(&text[0], edit, nullptr));
    fs.PutFile(kAlps, "ALPS.BGL",
               scenery_source::WriteSceneryFile(
                   scenery_source::OneObjectInsideOneOutside(edit.kill_areas[0]))
                   .bytes);
  }
  void Fault(const FaultKind& kind, const char* path) {
    fs.disk.read_fault = kind.make(path, static_cast<int64_t>(fs.disk.files[path].size()));
  }
};

struct ExportCase {
  const char* file;
  const char* export_name;
  int32_t status_when_unread;
};

TEST(ScenewardReadFaults, AFileNotReadWholeStopsTheExportAndChangesNothing) {
  const ExportCase cases[] = {
      {kLibrary, "VISEdit", kStatusLibraryNotOpened},
      {kScript, "VISEdit", kStatusScriptNotOpened},
      {kLibrary, "AreaKill", kStatusLibraryNotOpened},
      {kScript, "AreaKill", kStatusScriptNotOpened},
      {kScenery, "AreaKill", kStatusNotWritten},
  };
  for (const ExportCase& c : cases) {
    for (const FaultKind& kind : kFaultKinds) {
      SCOPED_TRACE(std::string(c.export_name) + ", " + c.file + ": " + kind.name);
      FaultedFiles s;
      s.Fault(kind, c.file);
      bool vis_edit = std::string(c.export_name) == "VISEdit";
      int32_t status = vis_edit ? VisEdit(s.state, s.fs, kLibrary, kScript, kFolder, 0)
                                : AreaKill(s.state, s.fs, kLibrary, kScript, "C:\\FS98", 0);
      Files before = s.fs.disk.files;  // as the fault (another program) left them
      EXPECT_EQ(status, kind.whole ? kStatusOk : c.status_when_unread);
      EXPECT_EQ(s.fs.disk.live_blocks, 0);
      if (!kind.whole) {
        EXPECT_TRUE(s.fs.disk.created.empty()) << "nothing is written";
        EXPECT_EQ(s.fs.disk.files, before);
      } else {
        EXPECT_FALSE(s.fs.disk.created.empty()) << "the export did its work";
      }
    }
  }
}

}  // namespace
