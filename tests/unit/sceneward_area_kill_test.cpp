#include "sceneward/area_kill.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "library_file_builder.h"
#include "scenery_test_support.h"
#include "sceneward/area_scan.h"
#include "sceneward/edit_script.h"
#include "sceneward/file_system_posix.h"
#include "sceneward/status.h"
#include "sceneward/writer/area_sample.h"
#include "sceneward_folder_file_system.h"

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

TEST(SceneAreaFolder, RootPrefixAndSceneryFolderRule) {
  AreaFolder folder;
  ASSERT_TRUE(ResolveAreaFolder("=:\\=\\Alps\\*.BGL", "C:\\FS98", &folder, nullptr));
  EXPECT_STREQ(folder.scenery_folder, "C:\\FS98\\Alps\\Scenery");
  EXPECT_STREQ(folder.file_pattern, "*.BGL");
  // The root is followed directly by the rest of the pattern.
  ASSERT_TRUE(ResolveAreaFolder("=:\\=Alps\\*.bgl", "C:\\FS98\\", &folder, nullptr));
  EXPECT_STREQ(folder.scenery_folder, "C:\\FS98\\Alps\\Scenery");
  // Without the prefix the pattern is the path; "=:\=" elsewhere is plain text.
  ASSERT_TRUE(ResolveAreaFolder("Scenery\\=:\\=x\\A?.BGL", "C:\\FS98", &folder, nullptr));
  EXPECT_STREQ(folder.scenery_folder, "Scenery\\=:\\=x\\Scenery");
  EXPECT_STREQ(folder.file_pattern, "A?.BGL");
}

TEST(SceneAreaFolder, NamesThatDoNotFitAreRefusedWithAReason) {
  AreaFolder folder;
  Diagnostic problem{};
  EXPECT_FALSE(ResolveAreaFolder("NoSeparator.BGL", "C:\\", &folder, &problem));
  EXPECT_NE(std::string(problem.text).find("no \"\\\""), std::string::npos) << problem.text;
  EXPECT_FALSE(ResolveAreaFolder("C:\\A\\LongerThan15.BGL", "C:\\", &folder, &problem));
  EXPECT_NE(std::string(problem.text).find("15"), std::string::npos) << problem.text;
  ASSERT_TRUE(ResolveAreaFolder("C:\\A\\Fifteen_chars.B", "C:\\", &folder, nullptr));
  const std::string root(250, 'r');
  EXPECT_FALSE(ResolveAreaFolder("=:\\=\\A\\*.BGL", root.c_str(), &folder, &problem));
  EXPECT_NE(std::string(problem.text).find("255"), std::string::npos) << problem.text;
  // The path fits, the scenery folder beside it would not.
  const std::string path = std::string(249, 'p') + "\\*.BGL";
  ASSERT_EQ(path.size(), 255u);
  EXPECT_FALSE(ResolveAreaFolder(path.c_str(), "C:\\", &folder, &problem));
  EXPECT_FALSE(ResolveAreaFolder("=:\\=\\A\\*.BGL", nullptr, &folder, &problem));
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
  AreaKillCase c;
  c.fs.PutFile(kAlps, "a.bgl", c.inside);
  c.fs.disk.fail_allocation_number = 3;  // library, script, then the scenery file
  EXPECT_EQ(c.Run(), kStatusNotWritten) << c.Problem();
  EXPECT_EQ(c.fs.Contents(kAlps, "a.bgl"), c.inside);
  EXPECT_EQ(c.fs.disk.live_blocks, 0);
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
