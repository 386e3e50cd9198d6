#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sceneward/base/status.h"
#include "sceneward/exports/vis_edit.h"
#include "sceneward/library/library_file.h"
#include "tests/support/library_file_builder.h"
#include "tests/support/sceneward_fake_file_system.h"

namespace {

const char kLibrary[] = "C:\\FS98\\SCENEDIR\\WORLD.VIS";
const char kNewLibrary[] = "C:\\FS98\\SCENEDIR\\VisEdit.$$$";
const char kScript[] = "D:\\Aerilon\\Sceneward.DAT";
const char kFolder[] = "D:\\Aerilon\\Scenery";
const char kGoodScript[] =
    "; the add-on's area\r\nTITLE \"Aerilon by Vesk\"\r\nTYPE REGIONAL\r\nAFLAG ACTIVE\r\n"
    "AREA 12G30ME, 46G0MN, 13G0ME, 45G30MN\r\n";

const AreaEntryFields kAerilon{20, 1, "D:\\Aerilon\\Scenery\\*.BGL", "Aerilon by Vesk"};

LibraryFileBuilder OldLibrary() {
  LibraryFileBuilder library;
  library.entries = {{10, 1, "Scenery\\World\\*.BGL", "Default Terrain"},
                     {30, 0, "=:\\=Alps\\*.BGL", "Alpine Airfields"}};
  library.order = {2, 1, 4, 3, 6, 5};
  return library;
}

struct VisEditCase {
  FakeFileSystem fs;
  ScenewardState state{};
  std::vector<uint8_t> old_library = OldLibrary().Build();

  VisEditCase() {
    fs.files[kLibrary] = old_library;
    fs.Put(kScript, kGoodScript);
  }
  int32_t Run(int32_t remove = 0) { return VisEdit(state, fs, kLibrary, kScript, kFolder, remove); }
  bool LibraryUnchanged() const { return fs.files.at(kLibrary) == old_library; }
  bool OnlyTheTwoFiles() const { return fs.files.size() == 2; }
};

TEST(SceneVisEdit, AddsTheEntryAndReturnsZero) {
  VisEditCase c;
  EXPECT_EQ(c.Run(), kStatusOk);
  LibraryFileBuilder expected = OldLibrary().Rewritten();
  expected.entries.insert(expected.entries.begin(), kAerilon);
  EXPECT_EQ(c.fs.files[kLibrary], expected.Build());
  EXPECT_TRUE(c.OnlyTheTwoFiles());        // the new file took the old one's place
  EXPECT_EQ(c.fs.live_blocks, 0);          // image, script and new library all freed
  EXPECT_EQ(c.state.edit.title, nullptr);  // no pointer into the freed script is left
}

TEST(SceneVisEdit, AddingTwiceReplacesAndRemovingRestoresTheList) {
  VisEditCase c;
  ASSERT_EQ(c.Run(), kStatusOk);
  std::vector<uint8_t> once = c.fs.files[kLibrary];
  ASSERT_EQ(c.Run(), kStatusOk);
  EXPECT_EQ(c.fs.files[kLibrary], once);
  ASSERT_EQ(c.Run(1), kStatusOk);
  EXPECT_EQ(c.fs.files[kLibrary], OldLibrary().Rewritten().Build());
  ASSERT_EQ(c.Run(7), kStatusOk);  // any non-zero argument removes; nothing left to remove
  EXPECT_EQ(c.fs.files[kLibrary], OldLibrary().Rewritten().Build());
}

TEST(SceneVisEdit, EveryCallStartsFromTheDefaults) {
  VisEditCase c;
  c.fs.Put(kScript, "TITLE \"Aerilon by Vesk\" TYPE HIGH AFLAG INACTIVE AREA 1G, 2G, 3G, 1G");
  ASSERT_EQ(c.Run(), kStatusOk);
  EXPECT_EQ(c.state.edit.type, kTypeHigh);
  EXPECT_EQ(c.state.edit.kill_area_count, 1);
  c.fs.Put(kScript, "TITLE \"Aerilon by Vesk\"");
  ASSERT_EQ(c.Run(), kStatusOk);
  EXPECT_EQ(c.state.edit.kill_area_count, 0);
  EXPECT_EQ(c.state.edit.kill_bounds.west, 2147483647);
  LibraryFileBuilder expected = OldLibrary().Rewritten();
  expected.entries.insert(expected.entries.begin(),
                          {30, 1, kAerilon.folder_pattern, kAerilon.title});
  EXPECT_EQ(c.fs.files[kLibrary], expected.Build());
}

TEST(SceneVisEdit, AFailedCallLeavesItsStatusForTheNextOne) {
  VisEditCase c;
  c.fs.files.erase(kScript);
  EXPECT_EQ(c.Run(), kStatusScriptNotOpened);
  EXPECT_TRUE(c.LibraryUnchanged());
  c.fs.Put(kScript, kGoodScript);
  EXPECT_EQ(c.Run(), kStatusScriptNotOpened);  // it did its work all the same
  EXPECT_NE(c.fs.files[kLibrary], c.old_library);
  c.fs.Put(kScript, "TYPE NONE");
  EXPECT_EQ(c.Run(), kStatusScriptFaulty);  // a new failure replaces the code
}

TEST(SceneVisEdit, LibraryFailuresComeBeforeTheScriptIsRead) {
  VisEditCase c;
  c.fs.files.erase(kScript);
  c.fs.files[kLibrary][32] = 117;
  EXPECT_EQ(c.Run(), kStatusLibraryFormat);
  EXPECT_STREQ(c.state.problem.file, kLibrary);
  VisEditCase missing;
  missing.fs.files.erase(kLibrary);
  EXPECT_EQ(missing.Run(), kStatusLibraryNotOpened);
  EXPECT_TRUE(missing.fs.created.empty());
}

TEST(SceneVisEdit, FaultyScriptsTouchNoFile) {
  for (const char* script :
       {"TITLE \"A\"\nAFLAG MAYBE", "TYPE LOW", "TITLE \"unclosed", "SOURCE \"s\" DEST \"d\" X"}) {
    VisEditCase c;
    c.fs.Put(kScript, script);
    EXPECT_EQ(c.Run(), kStatusScriptFaulty) << script;
    EXPECT_TRUE(c.LibraryUnchanged()) << script;
    EXPECT_TRUE(c.fs.created.empty()) << script;
    EXPECT_STREQ(c.state.problem.file, kScript);
    EXPECT_EQ(c.fs.live_blocks, 0);
    // The texts read before the fault pointed into the freed script.
    EXPECT_EQ(c.state.edit.title, nullptr) << script;
    EXPECT_EQ(c.state.edit.source, nullptr) << script;
    EXPECT_EQ(c.state.edit.dest, nullptr) << script;
  }
}

TEST(SceneVisEdit, EveryFailingWriteLeavesTheOldLibraryIntact) {
  VisEditCase clean;
  // A library as big as the 16-bit offsets allow, written in as many
  // pieces as WriteNewFile takes for it.
  LibraryFileBuilder big = OldLibrary();
  big.sections[3].assign(30000, 0x33);
  clean.old_library = big.Build();
  clean.fs.files[kLibrary] = clean.old_library;
  ASSERT_EQ(clean.Run(), kStatusOk);
  const int writes = clean.fs.writes;
  ASSERT_GE(writes, 1);
  for (int failing = 1; failing <= writes; ++failing) {
    VisEditCase c;
    c.old_library = big.Build();
    c.fs.files[kLibrary] = c.old_library;
    c.fs.fail_write_number = failing;
    EXPECT_EQ(c.Run(), kStatusNotWritten) << "write " << failing;
    EXPECT_TRUE(c.LibraryUnchanged()) << "write " << failing;
    EXPECT_TRUE(c.OnlyTheTwoFiles()) << "write " << failing;
    EXPECT_EQ(c.fs.live_blocks, 0);
  }
}

TEST(SceneVisEdit, AFailingCreateCloseOrReplaceLeavesTheOldLibraryIntact) {
  for (int step = 0; step < 3; ++step) {
    VisEditCase c;
    c.fs.fail_create = step == 0;
    c.fs.fail_close = step == 1;
    c.fs.fail_replace = step == 2;
    EXPECT_EQ(c.Run(), kStatusNotWritten) << step;
    EXPECT_TRUE(c.LibraryUnchanged()) << step;
    EXPECT_TRUE(c.OnlyTheTwoFiles()) << step;
    ASSERT_EQ(c.fs.created.size(), 1u);
    EXPECT_EQ(c.fs.created[0], kNewLibrary);
  }
}

// The old library went aside and could not come back: both it and the new
// one beside it are all there is, so neither is removed.
TEST(SceneVisEdit, AReplaceThatLeftNoLibraryKeepsTheNewOneBesideIt) {
  VisEditCase c;
  c.fs.replace_loses_target = true;
  EXPECT_EQ(c.Run(), kStatusNotWritten);
  EXPECT_EQ(c.fs.files.count(kNewLibrary), 1u) << "the new library stays beside";
  EXPECT_EQ(c.fs.files[FakeFileSystem::kSpareName], c.old_library) << "the old one aside";
}

TEST(SceneVisEdit, NoMemoryForTheNewLibraryIsStatusSix) {
  VisEditCase c;
  c.fs.fail_allocation_number = 3;  // after the image and the script
  EXPECT_EQ(c.Run(), kStatusNoMemory);
  EXPECT_TRUE(c.LibraryUnchanged());
  EXPECT_EQ(c.fs.live_blocks, 0);
}

TEST(SceneVisEdit, NoMemoryForThePathBesideTheLibraryLeavesIt) {
  VisEditCase c;
  c.fs.fail_allocation_number = 4;  // after the image, the script and the new library
  EXPECT_EQ(c.Run(), kStatusNotWritten);
  EXPECT_TRUE(c.LibraryUnchanged());
  EXPECT_TRUE(c.fs.created.empty());
  EXPECT_EQ(c.fs.live_blocks, 0);
}

TEST(SceneVisEdit, ALibraryThatWouldOutgrowItsOffsetsIsLeftUnchanged) {
  VisEditCase c;
  LibraryFileBuilder full = OldLibrary();
  full.sections[5].clear();
  full.sections[5].assign(kLibraryMaxLength - 20 - full.Build().size(), 0);
  c.old_library = full.Build();
  c.fs.files[kLibrary] = c.old_library;
  EXPECT_EQ(c.Run(), kStatusNotWritten);
  EXPECT_TRUE(c.LibraryUnchanged());
  EXPECT_TRUE(c.fs.created.empty());
  EXPECT_NE(std::string(c.state.problem.text).find("16-bit"), std::string::npos);
  EXPECT_EQ(c.Run(1), kStatusNotWritten);  // removing an absent entry still fits, the code stays
  EXPECT_EQ(c.fs.files[kLibrary], full.Rewritten().Build());
}

}  // namespace
