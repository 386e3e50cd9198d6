#include "sceneward/exports/area_kill.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sceneward/base/status.h"
#include "sceneward/exports/area_scan.h"
#include "sceneward/files/file_system_posix.h"
#include "sceneward/script/edit_script.h"
#include "sceneward/writer/area_sample.h"
#include "tests/support/library_file_builder.h"
#include "tests/support/scenery_test_support.h"
#include "tests/support/sceneward_folder_file_system.h"

namespace {

using scenery_test::Filter;

const char kLibrary[] = "C:\\FS98\\SCENEDIR\\WORLD.VIS";
const char kScript[] = "D:\\Aerilon\\Sceneward.DAT";
const char kRoot[] = "C:\\FS98";
const char kAreaScript[] = "TITLE \"Aerilon\"\r\nAREA 1G0ME, 2G0MN, 2G0ME, 1G0MN\r\n";

// Two areas: one under the root folder, one given whole.
const char kAlps[] = "C:\\FS98\\Alps\\Scenery";
const char kWorld[] = "E:\\Other\\World\\Scenery";

KillArea ScriptArea() {
  std::string text = kAreaScript;
  EditParameters edit = kDefaultEditParameters;
  EXPECT_TRUE(ParseEditScriptText(&text[0], edit, nullptr));
  return edit.kill_areas[0];
}

std::vector<uint8_t> Bytes(const scenery_source::SceneryFile& file) {
  return scenery_source::WriteSceneryFile(file).bytes;
}

struct AreaKillCase {
  FolderFileSystem fs;
  ScenewardState state{};
  KillArea area = ScriptArea();
  std::vector<uint8_t> inside = Bytes(scenery_source::OneObjectInsideOneOutside(area));
  std::vector<uint8_t> library;

  explicit AreaKillCase(std::vector<AreaEntryFields> entries = {
                            {30, 1, "=:\\=\\Alps\\*.BGL", "Alps"},
                            {10, 0, "E:\\Other\\World\\*.BGL", "World"}}) {
    LibraryFileBuilder builder;
    builder.entries = entries;
    library = builder.Build();
    fs.disk.files[kLibrary] = library;
    fs.disk.Put(kScript, kAreaScript);
    fs.folders.insert(kAlps);
    fs.folders.insert(kWorld);
  }
  int32_t Run() { return AreaKill(state, fs, kLibrary, kScript, kRoot, 0); }
  std::vector<uint8_t> Expected(const std::vector<uint8_t>& source) const {
    return Filter(source, {area}, area).bytes;
  }
  std::string Problem() const {
    return std::string(state.problem.file != nullptr ? state.problem.file : "") + ": " +
           state.problem.text;
  }
};

TEST(SceneAreaKill, RewritesFilesInsideTheBoundsAndLeavesTheOthers) {
  AreaKillCase c;
  scenery_source::SceneryFile outside = scenery_source::OneObjectInsideOneOutside(c.area);
  outside.south = c.area.north + 10;
  outside.north = c.area.north + 5000;
  scenery_source::SceneryFile touching = scenery_source::OneObjectInsideOneOutside(c.area);
  touching.west = c.area.east;  // shares only the east edge
  touching.east = c.area.east + 5000;
  c.fs.PutFile(kAlps, "inside.bgl", c.inside);
  c.fs.PutFile(kAlps, "outside.BGL", Bytes(outside));
  c.fs.PutFile(kAlps, "touching.Bgl", Bytes(touching));
  c.fs.PutFile(kAlps, "readme.txt", c.inside);  // not a scenery file by its name

  EXPECT_EQ(c.Run(), kStatusOk) << c.Problem();
  const std::vector<uint8_t> expected = c.Expected(c.inside);
  ASSERT_FALSE(expected.empty());
  EXPECT_NE(expected, c.inside);
  EXPECT_EQ(c.fs.Contents(kAlps, "inside.bgl"), expected);
  EXPECT_EQ(c.fs.Contents(kAlps, "outside.BGL"), Bytes(outside));
  EXPECT_EQ(c.fs.Contents(kAlps, "touching.Bgl"), Bytes(touching));
  EXPECT_EQ(c.fs.Contents(kAlps, "readme.txt"), c.inside);
  EXPECT_EQ(c.fs.TemporaryFiles(), 0);
  EXPECT_EQ(c.fs.disk.files.at(kLibrary), c.library);  // the library is only read
  EXPECT_EQ(c.fs.disk.live_blocks, 0);
  EXPECT_EQ(c.state.edit.title, nullptr);
  // Only the one rewritten file was ever written.
  EXPECT_EQ(c.fs.disk.created, std::vector<std::string>{std::string(kAlps) + "\\Temp.$$$"});
  // Both areas walked; the second one's folder holds no scenery file.
  EXPECT_EQ(c.state.area_kill.areas, 2u);
  EXPECT_EQ(c.state.area_kill.folders_scanned, 2u);
  EXPECT_EQ(c.state.area_kill.files_rewritten, 1u);
  EXPECT_EQ(c.state.area_kill.objects_dropped, 1u);
  // A second call counts afresh.
  ASSERT_EQ(c.Run(), kStatusOk);
  EXPECT_EQ(c.state.area_kill.files_rewritten, 1u);
  EXPECT_EQ(c.state.area_kill.objects_dropped, 0u);
}

TEST(SceneAreaKill, AScriptWithoutAreasChangesNothing) {
  AreaKillCase c;
  c.fs.disk.Put(kScript, "TITLE \"Aerilon\"\r\n; no areas\r\n");
  c.fs.PutFile(kAlps, "inside.bgl", c.inside);
  EXPECT_EQ(c.Run(), kStatusOk);
  EXPECT_EQ(c.fs.Contents(kAlps, "inside.bgl"), c.inside);
  EXPECT_TRUE(c.fs.disk.created.empty());
}

TEST(SceneAreaKill, AFileWithoutTheIndexMarkLeavesNoTemporaryFile) {
  AreaKillCase c;
  scenery_source::SceneryFile plain = scenery_source::OneObjectInsideOneOutside(c.area);
  plain.indexed = false;
  c.fs.PutFile(kAlps, "plain.bgl", Bytes(plain));
  EXPECT_EQ(c.Run(), kStatusOk);
  EXPECT_EQ(c.fs.Contents(kAlps, "plain.bgl"), Bytes(plain));
  EXPECT_TRUE(c.fs.disk.created.empty());
  EXPECT_EQ(c.fs.TemporaryFiles(), 0);
}

TEST(SceneAreaKill, EveryAreaIsScannedInListOrderInItsSceneryFolder) {
  // Inactive entries and entries of any type are scanned too; a missing
  // folder is skipped without a status.
  AreaKillCase c({{10, 0, "E:\\Other\\World\\*.BGL", "World"},
                  {50, 1, "Q:\\Missing\\*.BGL", "Missing"},
                  {30, 1, "=:\\=\\Alps\\*.BGL", "Alps"}});
  c.fs.PutFile(kWorld, "w.bgl", c.inside);
  c.fs.PutFile(kAlps, "a.bgl", c.inside);
  EXPECT_EQ(c.Run(), kStatusOk) << c.Problem();
  EXPECT_EQ(c.fs.entered, (std::vector<std::string>{kWorld, kAlps}));
  EXPECT_EQ(c.fs.current, kAlps);  // the current folder stays at the last one scanned
  EXPECT_EQ(c.fs.Contents(kWorld, "w.bgl"), c.Expected(c.inside));
  EXPECT_EQ(c.fs.Contents(kAlps, "a.bgl"), c.Expected(c.inside));
}

TEST(SceneAreaKill, RelativeFoldersAreTakenFromWhereTheWalkBegan) {
  // The first scan leaves the process in its scenery folder; the second
  // relative area must still be found below the starting folder.
  const char kOwnStart[] = "C:\\FS98";
  const char kLake[] = "C:\\FS98\\Lake\\Scenery";
  const char kHills[] = "C:\\FS98\\Hills\\Scenery";
  AreaKillCase c({{10, 1, "Lake\\*.BGL", "Lake"}, {20, 1, "Hills\\*.BGL", "Hills"}});
  c.fs.folders.insert(kOwnStart);
  c.fs.current = kOwnStart;
  c.fs.PutFile(kLake, "l.bgl", c.inside);
  c.fs.PutFile(kHills, "h.bgl", c.inside);
  EXPECT_EQ(c.Run(), kStatusOk) << c.Problem();
  EXPECT_EQ(c.fs.entered, (std::vector<std::string>{kLake, kHills}));
  EXPECT_EQ(c.fs.Contents(kHills, "h.bgl"), c.Expected(c.inside));
}

// The areas told as skipped, as "index pattern: reason".
void RecordNotice(void* context, uint32_t area, const char* folder_pattern, const char* reason) {
  static_cast<std::vector<std::string>*>(context)->push_back(std::to_string(area) + " " +
                                                             folder_pattern + ": " + reason);
}

// A drive-letter area, first in the list or after another: a file system
// without drives (Linux) skips it with a notice and no status, whatever
// folder "C:" would name there; Windows scans it.
TEST(SceneAreaKill, DriveLetterAreasAreSkippedWhereTheSystemHasNoDrives) {
  const char kDrive[] = "C:\\FS98\\Alps\\*.BGL";
  const char kLake[] = "C:\\FS98\\Lake\\Scenery";
  for (int drive_index : {0, 1}) {
    for (bool drive_letters : {false, true}) {
      SCOPED_TRACE(std::to_string(drive_index) + (drive_letters ? " with drives" : ""));
      std::vector<AreaEntryFields> entries = {{10, 1, "Lake\\*.BGL", "Lake"}};
      entries.insert(entries.begin() + drive_index, {30, 1, kDrive, "Alps"});
      AreaKillCase c(entries);
      c.fs.disk.drive_letters = drive_letters;
      c.fs.folders.insert(kRoot);
      c.fs.current = kRoot;
      c.fs.PutFile(kAlps, "a.bgl", c.inside);
      c.fs.PutFile(kLake, "l.bgl", c.inside);
      std::vector<std::string> notices;
      c.state.area_notice = RecordNotice;
      c.state.area_notice_context = &notices;
      EXPECT_EQ(c.Run(), kStatusOk) << c.Problem();
      EXPECT_EQ(c.fs.Contents(kLake, "l.bgl"), c.Expected(c.inside));
      EXPECT_EQ(c.fs.Contents(kAlps, "a.bgl"), drive_letters ? c.Expected(c.inside) : c.inside);
      EXPECT_EQ(c.state.area_kill.areas_skipped, drive_letters ? 0u : 1u);
      const std::string told = std::to_string(drive_index) + " " + kDrive +
                               ": a drive-letter folder names no folder here";
      EXPECT_EQ(notices, std::vector<std::string>(drive_letters ? 0 : 1, told));
    }
  }
}

// Room for resolving an area on a file system taking paths of `size` bytes:
// 260 as on Windows, 4096 as on Linux.
struct AreaRoom {
  std::vector<char> composed, scenery;
  AreaFolder folder{};
  Diagnostic problem{};
  explicit AreaRoom(uint32_t size = 260) : composed(size), scenery(size) {}
  bool Resolve(const std::string& pattern, const char* root) {
    AreaPaths room{composed.data(), scenery.data(), static_cast<uint32_t>(composed.size())};
    return ResolveAreaFolder(pattern.c_str(), root, nullptr, room, &folder, &problem);
  }
  bool Refused(const char* reason) const { return std::strstr(problem.text, reason) != nullptr; }
};

TEST(SceneAreaFolder, RootPrefixAndSceneryFolderRule) {
  AreaRoom r;
  ASSERT_TRUE(r.Resolve("=:\\=\\Alps\\*.BGL", "C:\\FS98"));
  EXPECT_STREQ(r.folder.scenery_folder, "C:\\FS98\\Alps\\Scenery");
  EXPECT_STREQ(r.folder.file_pattern, "*.BGL");
  // The root is followed directly by the rest of the pattern.
  ASSERT_TRUE(r.Resolve("=:\\=Alps\\*.bgl", "C:\\FS98\\"));
  EXPECT_STREQ(r.folder.scenery_folder, "C:\\FS98\\Alps\\Scenery");
  // Without the prefix the pattern is the path; "=:\=" elsewhere is plain text.
  ASSERT_TRUE(r.Resolve("Scenery\\=:\\=x\\A?.BGL", "C:\\FS98"));
  EXPECT_STREQ(r.folder.scenery_folder, "Scenery\\=:\\=x\\Scenery");
  EXPECT_STREQ(r.folder.file_pattern, "A?.BGL");
}

TEST(SceneAreaFolder, NamesThatDoNotFitAreRefusedWithAReason) {
  AreaRoom r;
  EXPECT_FALSE(r.Resolve("NoSeparator.BGL", "C:\\"));
  EXPECT_TRUE(r.Refused("no \"\\\"")) << r.problem.text;
  // A file pattern may be as long as the path leaves room for.
  ASSERT_TRUE(r.Resolve("C:\\A\\LongerThan15.BGL", "C:\\"));
  // 258 characters fit 260 bytes, the scenery folder made of them does not.
  const std::string root(250, 'r');
  EXPECT_FALSE(r.Resolve("=:\\=\\A\\*.BGL", root.c_str()));
  EXPECT_TRUE(r.Refused("scenery folder path is longer than 259")) << r.problem.text;
  EXPECT_FALSE(r.Resolve(std::string(254, 'p') + "\\*.BGL", "C:\\"));  // 260 characters
  EXPECT_TRUE(r.Refused("folder path is longer than 259")) << r.problem.text;
  EXPECT_FALSE(r.Resolve("=:\\=\\A\\*.BGL", nullptr));
  // Where the system takes 4096 bytes, so does the area.
  AreaRoom linux_room(4096);
  const std::string linux_root = "/" + std::string(4000, 'r');
  ASSERT_TRUE(linux_room.Resolve("=:\\=\\Alps\\*.BGL", linux_root.c_str()));
  EXPECT_EQ(std::string(linux_room.folder.scenery_folder), linux_root + "\\Alps\\Scenery");
  EXPECT_FALSE(
      linux_room.Resolve("=:\\=\\" + std::string(90, 'a') + "\\*.BGL", linux_root.c_str()));
  EXPECT_TRUE(linux_room.Refused("longer than 4095")) << linux_room.problem.text;
}

TEST(SceneAreaKill, ARefusedAreaSetsThreeAndTheNextAreaStillRuns) {
  AreaKillCase c({{30, 1, "BadPattern", "Bad"}, {30, 1, "=:\\=\\Alps\\*.BGL", "Alps"}});
  c.fs.PutFile(kAlps, "a.bgl", c.inside);
  EXPECT_EQ(c.Run(), kStatusNotWritten);
  EXPECT_EQ(c.Problem(),
            "BadPattern: the area's folder pattern has no \"\\\" before its file "
            "pattern");
  EXPECT_EQ(c.fs.Contents(kAlps, "a.bgl"), c.Expected(c.inside));
}

TEST(SceneAreaKill, AFaultyFileSetsThreeSkipsItsFolderAndLaterAreasRun) {
  AreaKillCase c;
  scenery_source::SceneryFile faulty = scenery_source::OneObjectInsideOneOutside(c.area);
  faulty.end_record = false;
  c.fs.PutFile(kAlps, "a_faulty.bgl", Bytes(faulty));
  c.fs.PutFile(kAlps, "b_good.bgl", c.inside);  // listed after the faulty one
  c.fs.PutFile(kWorld, "w.bgl", c.inside);
  EXPECT_EQ(c.Run(), kStatusNotWritten);
  EXPECT_EQ(c.fs.Contents(kAlps, "a_faulty.bgl"), Bytes(faulty));
  EXPECT_EQ(c.fs.Contents(kAlps, "b_good.bgl"), c.inside);
  EXPECT_EQ(c.fs.Contents(kWorld, "w.bgl"), c.Expected(c.inside));
  EXPECT_EQ(std::string(c.state.problem.file), std::string(kAlps) + "\\a_faulty.bgl");
  EXPECT_NE(std::string(c.state.problem.text).find("no end record"), std::string::npos)
      << c.Problem();
  EXPECT_EQ(c.fs.TemporaryFiles(), 0);
}

TEST(SceneAreaKill, ALeftoverTemporaryFileIsNoSceneryFile) {
  AreaKillCase c({{30, 1, "=:\\=\\Alps\\*", "Alps"}});
  c.fs.PutFile(kAlps, "Temp.$$$", c.inside);
  c.fs.PutFile(kAlps, "town.bgl", c.inside);
  EXPECT_EQ(c.Run(), kStatusOk) << c.Problem();
  EXPECT_EQ(c.fs.Contents(kAlps, "town.bgl"), c.Expected(c.inside));
  // Taking town.bgl's new content, the leftover was written over and moved.
  EXPECT_EQ(c.fs.File(kAlps, "Temp.$$$"), nullptr);
  EXPECT_EQ(c.fs.disk.created.size(), 1u);
}

TEST(SceneAreaKill, AFailedStatusStaysForTheNextCall) {
  AreaKillCase c;
  scenery_source::SceneryFile faulty = scenery_source::OneObjectInsideOneOutside(c.area);
  faulty.end_record = false;
  c.fs.PutFile(kAlps, "faulty.bgl", Bytes(faulty));
  ASSERT_EQ(c.Run(), kStatusNotWritten);
  c.fs.disk.files.erase(std::string(kAlps) + "\\faulty.bgl");
  c.fs.PutFile(kAlps, "good.bgl", c.inside);
  EXPECT_EQ(c.Run(), kStatusNotWritten);  // although this call did its work
  EXPECT_EQ(c.fs.Contents(kAlps, "good.bgl"), c.Expected(c.inside));
}

TEST(SceneAreaKill, LibraryAndScriptFailuresReturnTheirCodes) {
  AreaKillCase c;
  c.fs.PutFile(kAlps, "a.bgl", c.inside);
  EXPECT_EQ(AreaKill(c.state, c.fs, "C:\\none.vis", kScript, kRoot, 0), kStatusLibraryNotOpened);
  AreaKillCase d;
  d.fs.PutFile(kAlps, "a.bgl", d.inside);
  d.fs.disk.Put(kScript, "AREA 1G, 2G, 2G, 1G\r\nTYPE NOWHERE\r\n");
  EXPECT_EQ(d.Run(), kStatusScriptFaulty);
  EXPECT_EQ(d.fs.Contents(kAlps, "a.bgl"), d.inside);
  EXPECT_TRUE(d.fs.entered.empty());
  EXPECT_EQ(d.fs.disk.live_blocks, 0);
}

// Every step of writing the rewritten file fails in turn: the scanned file
// stays byte for byte as it was and no temporary file is left.
TEST(SceneAreaKill, AFailedWriteCloseOrReplaceLeavesTheOriginal) {
  int write_failures = 0;
  for (int failing_write = 1;; ++failing_write) {
    AreaKillCase c;
    c.fs.PutFile(kAlps, "a.bgl", c.inside);
    c.fs.disk.fail_write_number = failing_write;
    int32_t status = c.Run();
    if (c.fs.disk.writes < failing_write) {
      EXPECT_EQ(status, kStatusOk);  // every write has been failed once
      break;
    }
    ++write_failures;
    EXPECT_EQ(status, kStatusNotWritten) << "write " << failing_write;
    EXPECT_EQ(c.fs.Contents(kAlps, "a.bgl"), c.inside) << "write " << failing_write;
    EXPECT_EQ(c.fs.TemporaryFiles(), 0) << "write " << failing_write;
  }
  EXPECT_GE(write_failures, 1);
  for (int step = 0; step < 3; ++step) {
    AreaKillCase c;
    c.fs.PutFile(kAlps, "a.bgl", c.inside);
    c.fs.disk.fail_close = step == 0;
    c.fs.disk.fail_replace = step == 1;
    c.fs.disk.fail_create = step == 2;
    EXPECT_EQ(c.Run(), kStatusNotWritten) << "step " << step;
    EXPECT_EQ(c.fs.Contents(kAlps, "a.bgl"), c.inside) << "step " << step;
    EXPECT_EQ(c.fs.TemporaryFiles(), 0) << "step " << step;
    EXPECT_NE(std::string(c.state.problem.text).find("Temp.$$$"), std::string::npos);
  }
}

TEST(SceneAreaKill, NoMemoryToReadAFileSetsThree) {
  // The blocks after the library and the script: the walk's folder paths,
  // the scenery file, the path its new content is written to.
  const int32_t statuses[] = {kStatusNoMemory, kStatusNotWritten, kStatusNotWritten};
  for (int block = 0; block < 3; ++block) {
    AreaKillCase c;
    c.fs.PutFile(kAlps, "a.bgl", c.inside);
    c.fs.disk.fail_allocation_number = 3 + block;
    EXPECT_EQ(c.Run(), statuses[block]) << c.Problem();
    EXPECT_EQ(c.fs.Contents(kAlps, "a.bgl"), c.inside) << block;
    EXPECT_EQ(c.fs.TemporaryFiles(), 0) << block;
    EXPECT_EQ(c.fs.disk.live_blocks, 0) << block;
  }
}

}  // namespace

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

// The real file system in a fresh folder: "*.BGL" matches names of any case,
// and only the rewritten files change.
TEST(SceneAreaKillPosix, RewritesMatchingFilesOfAnyCaseInTheSceneryFolder) {
  char pattern[] = "/tmp/sceneward-areakill-XXXXXX";
  const std::string root = mkdtemp(pattern);
  char start[4096];
  ASSERT_NE(getcwd(start, sizeof start), nullptr);
  mkdir((root + "/Alps").c_str(), 0777);
  mkdir((root + "/Alps/Scenery").c_str(), 0777);
  const std::string folder = root + "/Alps/Scenery/";
  const KillArea area = ScriptArea();
  const std::vector<uint8_t> inside = Bytes(scenery_source::OneObjectInsideOneOutside(area));
  for (const char* name : {"Town.bgl", "AIRPORT.Bgl", "notes.txt"})
    WriteFile(folder + name, inside);
  LibraryFileBuilder library;
  library.entries = {{30, 1, "=:\\=\\Alps\\*.BGL", "Alps"}};
  WriteFile(root + "/WORLD.VIS", library.Build());
  const std::string script(kAreaScript);
  WriteFile(root + "/Sceneward.DAT", std::vector<uint8_t>(script.begin(), script.end()));

  ScenewardState state{};
  PosixFileSystem fs;
  const int32_t status = AreaKill(state, fs, (root + "/WORLD.VIS").c_str(),
                                  (root + "/Sceneward.DAT").c_str(), root.c_str(), 0);
  char after[4096];
  ASSERT_NE(getcwd(after, sizeof after), nullptr);
  ASSERT_EQ(chdir(start), 0);
  EXPECT_EQ(status, kStatusOk) << state.problem.text;
  const std::vector<uint8_t> expected = Filter(inside, {area}, area).bytes;
  EXPECT_EQ(ReadFile(folder + "Town.bgl"), expected);
  EXPECT_EQ(ReadFile(folder + "AIRPORT.Bgl"), expected);
  EXPECT_EQ(ReadFile(folder + "notes.txt"), inside);
  EXPECT_NE(access((folder + "Temp.$$$").c_str(), F_OK), 0);
  EXPECT_NE(std::string(after).find("/Alps/Scenery"), std::string::npos) << after;
  std::system(("rm -rf '" + root + "'").c_str());
}

}  // namespace
