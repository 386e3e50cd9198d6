#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sceneward/files/file_pattern.h"
#include "sceneward/files/file_system.h"
#include "sceneward/files/file_system_posix.h"
#include "tests/support/sceneward_fake_file_system.h"
#include "tests/support/temp_sim_folder.h"

namespace {

TEST(SceneFilePattern, StarsAndQuestionMarksMatchRegardlessOfCase) {
  EXPECT_TRUE(MatchFilePattern("*.BGL", "town.bgl"));
  EXPECT_TRUE(MatchFilePattern("*.BGL", "Town.Bgl"));
  EXPECT_TRUE(MatchFilePattern("*.BGL", ".BGL"));
  EXPECT_FALSE(MatchFilePattern("*.BGL", "town.bgl.bak"));
  EXPECT_FALSE(MatchFilePattern("*.BGL", "townbgl"));
  EXPECT_TRUE(MatchFilePattern("A?C*", "abcdef"));
  EXPECT_FALSE(MatchFilePattern("A?C*", "ac"));
  EXPECT_TRUE(MatchFilePattern("*a*b*", "xxaxxbxx"));
  EXPECT_FALSE(MatchFilePattern("*a*b*", "xxbxxaxx"));
  EXPECT_TRUE(MatchFilePattern("*", ""));
  EXPECT_FALSE(MatchFilePattern("?", ""));
}

TEST(SceneFileSystemPaths, PathBesideKeepsTheFolderOfEitherSeparator) {
  char out[64];
  ASSERT_TRUE(PathBeside("C:\\FS98\\WORLD.VIS", "VisEdit.$$$", out, sizeof out));
  EXPECT_STREQ(out, "C:\\FS98\\VisEdit.$$$");
  ASSERT_TRUE(PathBeside("/tmp/x/world.vis", "n", out, sizeof out));
  EXPECT_STREQ(out, "/tmp/x/n");
  ASSERT_TRUE(PathBeside("WORLD.VIS", "n", out, sizeof out));
  EXPECT_STREQ(out, "n");
  EXPECT_FALSE(PathBeside("C:\\FS98\\WORLD.VIS", "VisEdit.$$$", out, 19));
}

TEST(SceneFileSystemWrites, AFailedWriteRemovesTheNewFile) {
  FakeFileSystem fs;
  std::vector<uint8_t> data(2 * kWritePieceBytes + 1808, 7);
  fs.fail_write_number = 2;
  EXPECT_FALSE(WriteNewFile(fs, "new", data.data(), static_cast<uint32_t>(data.size())));
  EXPECT_EQ(fs.files.count("new"), 0u);
  fs.fail_write_number = 0;
  EXPECT_TRUE(WriteNewFile(fs, "new", data.data(), static_cast<uint32_t>(data.size())));
  EXPECT_EQ(fs.files["new"], data);
  EXPECT_EQ(fs.writes, 3 + 2);  // three pieces, each checked
}

// The path beside is refused only where it does not fit the file system's
// paths: 600 characters fit a Linux host's 4096 bytes, not Windows' 260; a
// path of 4094 characters fits, the one beside it does not.
TEST(SceneFileSystemWrites, PathsBesideAreAsLongAsTheFileSystemTakes) {
  const struct {
    uint32_t path_bytes, folder_length;
    bool replaced;
  } cases[] = {{4096, 586, true}, {260, 586, false}, {4096, 4081, false}};
  for (const auto& c : cases) {
    const std::string path = "C:\\" + std::string(c.folder_length, 'd') + "\\WORLD.VIS";
    FakeFileSystem fs;
    fs.max_path_bytes = c.path_bytes;
    fs.Put(path, "old");
    const uint8_t data[] = {'n', 'e', 'w'};
    EXPECT_EQ(ReplaceFileContents(fs, path.c_str(), "VisEdit.$$$", data, 3), c.replaced)
        << path.size() << " in " << c.path_bytes;
    EXPECT_EQ(fs.files[path][0], c.replaced ? 'n' : 'o');
    EXPECT_EQ(fs.files.size(), 1u);  // nothing left beside it
  }
}

void WriteText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(SceneFileSystemPosix, BackslashesAreSeparatorsAndReadsAddTerminators) {
  TempSimFolder folder;
  mkdir((folder / "sub").c_str(), 0777);
  WriteText(folder / "sub/file.txt", "abc");
  PosixFileSystem fs;
  FileBlock block{};
  std::string windows_path = folder.root.string() + "\\sub\\file.txt";
  ASSERT_EQ(fs.ReadWholeFile(windows_path.c_str(), OpenMode::kReadWrite, 2, &block),
            ReadOutcome::kRead);
  EXPECT_EQ(block.size, 3u);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(block.bytes), 5), std::string("abc\0\0", 5));
  fs.FreeBlock(block.bytes);
  EXPECT_EQ(fs.ReadWholeFile((folder / "none").c_str(), OpenMode::kReadOnly, 0, &block),
            ReadOutcome::kCannotOpen);
  EXPECT_EQ(fs.ReadWholeFile(folder.root.string().c_str(), OpenMode::kReadOnly, 0, &block),
            ReadOutcome::kCannotOpen);  // a folder is not a file
}

TEST(SceneFileSystemPosix, ReplaceKeepsThePermissionsAndLeavesNoFileBeside) {
  TempSimFolder folder;
  std::string target = folder / "WORLD.VIS";
  WriteText(target, "old contents");
  chmod(target.c_str(), 0640);
  PosixFileSystem fs;
  const uint8_t data[] = {'n', 'e', 'w'};
  ASSERT_TRUE(ReplaceFileContents(fs, target.c_str(), "VisEdit.$$$", data, sizeof data));
  EXPECT_EQ(ReadText(target), "new");
  struct stat info;
  ASSERT_EQ(stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
  EXPECT_NE(access((folder / "VisEdit.$$$").c_str(), F_OK), 0);
}

// sim/WORLD.VIS is a link, in each shape a simulator folder in a Wine prefix
// may hold, to real/WORLD.VIS: the link stays, the file it leads to takes
// the new content, written beside that file. A link to no file, or round in
// a circle, is refused and nothing is written.
TEST(SceneFileSystemPosix, ReplacingThroughALinkReplacesTheFileItLeadsTo) {
  const struct {
    const char* link;  // what sim/WORLD.VIS holds; "@" stands for the test's folder
    const char* hop;   // what sim/hop holds, if it is made
    bool replaced;
  } cases[] = {{"@/real/WORLD.VIS", nullptr, true},
               {"../real/WORLD.VIS", nullptr, true},
               {"hop", "../real/WORLD.VIS", true},
               {"../real/NONE.VIS", nullptr, false},
               {"hop", "WORLD.VIS", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.link);
    TempSimFolder f;
    mkdir((f / "real").c_str(), 0777);
    mkdir((f / "sim").c_str(), 0777);
    WriteText(f / "real/WORLD.VIS", "old");
    const std::string link = c.link[0] == '@' ? f.root.string() + (c.link + 1) : c.link;
    ASSERT_EQ(symlink(link.c_str(), (f / "sim/WORLD.VIS").c_str()), 0);
    if (c.hop != nullptr) {
      ASSERT_EQ(symlink(c.hop, (f / "sim/hop").c_str()), 0);
    }
    PosixFileSystem fs;
    const uint8_t data[] = {'n', 'e', 'w'};
    const std::string path = f.root.string() + "\\sim\\WORLD.VIS";
    EXPECT_EQ(ReplaceFileContents(fs, path.c_str(), "VisEdit.$$$", data, sizeof data), c.replaced);
    EXPECT_EQ(ReadText(f / "real/WORLD.VIS"), c.replaced ? "new" : "old");
    char held[256] = {};
    ASSERT_GT(readlink((f / "sim/WORLD.VIS").c_str(), held, sizeof held - 1), 0);
    EXPECT_EQ(std::string(held), link);
    EXPECT_NE(access((f / "sim/VisEdit.$$$").c_str(), F_OK), 0);
    EXPECT_NE(access((f / "real/VisEdit.$$$").c_str(), F_OK), 0);
  }
}

TEST(SceneFileSystemPosix, AFailedReplaceLeavesTheOldFile) {
  TempSimFolder folder;
  std::string target = folder / "WORLD.VIS";
  mkdir(target.c_str(), 0777);  // a folder cannot be replaced by a file
  WriteText(folder / "WORLD.VIS/keep", "kept");
  PosixFileSystem fs;
  const uint8_t data[] = {'n'};
  EXPECT_FALSE(ReplaceFileContents(fs, target.c_str(), "VisEdit.$$$", data, sizeof data));
  EXPECT_EQ(ReadText(folder / "WORLD.VIS/keep"), "kept");
  EXPECT_NE(access((folder / "VisEdit.$$$").c_str(), F_OK), 0);
}

bool Collect(void* context, const char* name) {
  static_cast<std::vector<std::string>*>(context)->push_back(name);
  return true;
}

TEST(SceneFileSystemPosix, ListingMatchesFilesOfTheCurrentFolderRegardlessOfCase) {
  TempSimFolder folder;
  mkdir((folder / "Scenery").c_str(), 0777);
  for (const char* name : {"a.bgl", "B.BGL", "c.Bgl", "d.txt", "e.bgl.bak"}) {
    WriteText(folder / (std::string("Scenery/") + name), "x");
  }
  mkdir((folder / "Scenery/dir.bgl").c_str(), 0777);
  // A link to nothing is listed, to be told when it is read; a link to a
  // folder and a pipe (which would hold up the reader) are not.
  ASSERT_EQ(symlink("none", (folder / "Scenery/gone.bgl").c_str()), 0);
  ASSERT_EQ(symlink("dir.bgl", (folder / "Scenery/dirlink.bgl").c_str()), 0);
  ASSERT_EQ(mkfifo((folder / "Scenery/pipe.bgl").c_str(), 0666), 0);
  char previous[4096];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  PosixFileSystem fs;
  ASSERT_TRUE(fs.ChangeFolder((folder.root.string() + "\\Scenery").c_str()));
  std::vector<std::string> names;
  EXPECT_TRUE(fs.ListFolder("*.BGL", Collect, &names));
  EXPECT_TRUE(fs.RenameFile("a.bgl", "z.bgl"));
  EXPECT_TRUE(fs.RemoveFile("d.txt"));
  ASSERT_EQ(chdir(previous), 0);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"B.BGL", "a.bgl", "c.Bgl", "gone.bgl"}));
  EXPECT_EQ(ReadText(folder / "Scenery/z.bgl"), "x");
  EXPECT_NE(access((folder / "Scenery/d.txt").c_str(), F_OK), 0);
  EXPECT_FALSE(fs.ChangeFolder((folder / "missing").c_str()));
}

}  // namespace
