#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "sceneward/exports/uninstall_hook.h"
#include "tests/support/library_file_builder.h"
#include "tests/support/sceneward_fake_file_system.h"

namespace {

const char kLibrary[] = "C:\\FS98\\SCENEDIR\\WORLD.VIS";
const char kScript[] = "D:\\Aerilon\\Sceneward.DAT";
const char kTitleOnlyScript[] = "TITLE \"Aerilon by Vesk\"\r\n";

// The registry key as stored bytes, so that a value can lack its terminator.
struct FakeUninstallHost final : UninstallHost {
  bool key_present = true;
  std::map<std::string, std::string> values;
  std::set<std::string> unreadable;  // the size is known, the read fails
  std::vector<std::string> shown;
  int opened = 0;
  int closed = 0;

  bool OpenInstallKey() override {
    if (!key_present) return false;
    ++opened;
    return true;
  }
  bool ValueSize(const char* name, uint32_t* size) override {
    auto value = values.find(name);
    if (value == values.end()) return false;
    *size = static_cast<uint32_t>(value->second.size());
    return true;
  }
  bool ReadValue(const char* name, char* into, uint32_t capacity, uint32_t* got) override {
    auto value = values.find(name);
    if (value == values.end() || unreadable.count(name) != 0) return false;
    if (value->second.size() > capacity) return false;
    value->second.copy(into, value->second.size());
    *got = static_cast<uint32_t>(value->second.size());
    return true;
  }
  void CloseInstallKey() override { ++closed; }
  void ShowError(const char* text) override { shown.push_back(text); }
};

LibraryFileBuilder LibraryWithoutAerilon() {
  LibraryFileBuilder library;
  library.entries = {{10, 1, "Scenery\\World\\*.BGL", "Default Terrain"}};
  return library;
}

struct HookCase {
  FakeFileSystem fs;
  FakeUninstallHost host;
  ScenewardState state{};
  std::vector<uint8_t> old_library;

  HookCase() {
    LibraryFileBuilder library = LibraryWithoutAerilon();
    library.entries.push_back({20, 1, "D:\\Aerilon\\Scenery\\*.BGL", "Aerilon by Vesk"});
    old_library = library.Build();
    fs.files[kLibrary] = old_library;
    fs.Put(kScript, kTitleOnlyScript);
    host.values[kLibraryFolderValue] = std::string("C:\\FS98\\SCENEDIR") + '\0';
    host.values[kDataFolderValue] = std::string("D:\\Aerilon") + '\0';
  }
  int32_t Run() { return RunUninstallHook(state, fs, host); }
  bool LibraryUntouched() const {
    return fs.files.at(kLibrary) == old_library && fs.created.empty() && fs.files.size() == 2;
  }
  bool EntryRemoved() const {
    return fs.files.at(kLibrary) == LibraryWithoutAerilon().Rewritten().Build();
  }
};

using Shown = std::vector<std::string>;

TEST(SceneUninstallHook, RemovesTheEntryFromTheRegisteredLibraryWithoutABox) {
  HookCase c;
  EXPECT_EQ(c.Run(), 0);
  EXPECT_TRUE(c.EntryRemoved());
  EXPECT_EQ(c.host.shown, Shown{});
  EXPECT_EQ(c.host.closed, 1);
  EXPECT_EQ(c.fs.live_blocks, 0);
  EXPECT_EQ(c.state.last_status.code, 0);
}

TEST(SceneUninstallHook, ValuesStoredWithoutTerminatorStillMakeTheRightPaths) {
  HookCase c;
  c.host.values[kLibraryFolderValue] = "C:\\FS98\\SCENEDIR";
  c.host.values[kDataFolderValue] = "D:\\Aerilon";
  EXPECT_EQ(c.Run(), 0);
  EXPECT_TRUE(c.EntryRemoved());
  EXPECT_EQ(c.host.shown, Shown{});
}

TEST(SceneUninstallHook, AMissingKeyOrValueShowsOneBoxAndTouchesNoFile) {
  for (int missing = 0; missing < 4; ++missing) {
    SCOPED_TRACE(missing);
    HookCase c;
    if (missing == 0) c.host.key_present = false;
    if (missing == 1) c.host.values.erase(kLibraryFolderValue);
    if (missing == 2) c.host.values.erase(kDataFolderValue);
    if (missing == 3) c.host.unreadable.insert(kDataFolderValue);
    EXPECT_EQ(c.Run(), 0);
    EXPECT_EQ(c.host.shown, Shown{kNoInstallKeyText});
    EXPECT_TRUE(c.LibraryUntouched());
    EXPECT_EQ(c.host.closed, c.host.opened);
    EXPECT_EQ(c.fs.live_blocks, 0);
  }
}

TEST(SceneUninstallHook, EachPathBlockThatCannotBeHadShowsOutOfMemory) {
  for (int allocation = 1; allocation <= 3; ++allocation) {
    SCOPED_TRACE(allocation);
    HookCase c;
    c.fs.fail_allocation_number = allocation;
    EXPECT_EQ(c.Run(), 0);
    EXPECT_EQ(c.host.shown, Shown{kOutOfMemoryText});
    EXPECT_TRUE(c.LibraryUntouched());
    EXPECT_EQ(c.fs.live_blocks, 0);
  }
}

TEST(SceneUninstallHook, AFailedRemovalShowsOneBoxAndLeavesTheLibrary) {
  HookCase c;
  c.fs.files.erase(kScript);
  EXPECT_EQ(c.Run(), 0);
  EXPECT_EQ(c.host.shown, Shown{kEntryNotRemovedText});
  EXPECT_EQ(c.fs.files.at(kLibrary), c.old_library);
  EXPECT_EQ(c.state.last_status.code, kStatusScriptNotOpened);
  EXPECT_EQ(c.fs.live_blocks, 0);
}

TEST(SceneUninstallHook, AnEntryAlreadyGoneIsNoFailure) {
  HookCase c;
  c.old_library = LibraryWithoutAerilon().Build();
  c.fs.files[kLibrary] = c.old_library;
  EXPECT_EQ(c.Run(), 0);
  EXPECT_EQ(c.host.shown, Shown{});
  EXPECT_TRUE(c.EntryRemoved());
}

}  // namespace
