#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "sceneward/base/status.h"
#include "sceneward/library/area_list.h"
#include "sceneward/library/library_file.h"
#include "sceneward/library/library_writer.h"
#include "tests/support/library_file_builder.h"
#include "tests/support/sceneward_fake_file_system.h"

namespace {

const AreaEntryFields kEarth{10, 1, "Scenery\\World\\*.BGL", "Default Terrain"};
const AreaEntryFields kAlps{30, 0, "=:\\=Alps\\*.BGL", "Alpine Airfields"};
const AreaEntryFields kTown{40, 1, "C:\\Add\\Town\\*.BGL", "Hill Town"};

// The entry VisEdit writes for the parameters below.
const AreaEntryFields kAerilon{20, 1, "C:\\FS98\\Aerilon\\Scenery\\*.BGL", "Aerilon by Vesk"};

EditParameters AerilonEdit(bool remove = false) {
  EditParameters edit;
  ResetEditParameters(edit);
  edit.title = "Aerilon by Vesk";
  edit.folder = "C:\\FS98\\Aerilon\\Scenery";
  edit.type = kTypeRegional;
  edit.active_flag = 1;
  edit.remove = remove ? 1 : 0;
  return edit;
}

// The library that WriteLibraryFile builds from `old` with `edit`; empty
// when it refuses.
std::vector<uint8_t> Rewrite(const std::vector<uint8_t>& old, const EditParameters& edit) {
  std::vector<uint8_t> copy = old;
  LibraryImage image{copy.data(), static_cast<uint32_t>(copy.size())};
  EXPECT_TRUE(CheckLibraryImage(image.bytes, image.size, nullptr));
  std::vector<uint8_t> out(kLibraryMaxLength);
  ByteSink sink = MakeByteSink(out.data(), static_cast<uint32_t>(out.size()));
  if (!WriteLibraryFile(image, edit, sink)) return {};
  out.resize(sink.size);
  return out;
}

LibraryFileBuilder ThreeEntries() {
  LibraryFileBuilder library;
  library.entries = {kEarth, kAlps, kTown};
  return library;
}

TEST(SceneLibraryRewrite, AnEntryWithTheTitleIsReplacedInPlace) {
  LibraryFileBuilder old = ThreeEntries();
  AreaEntryFields stale{50, 0, "D:\\Old\\*.BGL", "Aerilon by Vesk"};
  old.entries.insert(old.entries.begin() + 1, stale);
  old.entries.push_back(stale);  // only the first match is replaced
  LibraryFileBuilder expected = old.Rewritten();
  expected.entries[1] = kAerilon;
  EXPECT_EQ(Rewrite(old.Build(), AerilonEdit()), expected.Build());
}

TEST(SceneLibraryRewrite, WithoutTheTitleTheNewEntryComesFirst) {
  LibraryFileBuilder old = ThreeEntries();
  LibraryFileBuilder expected = old.Rewritten();
  expected.entries.insert(expected.entries.begin(), kAerilon);
  EXPECT_EQ(Rewrite(old.Build(), AerilonEdit()), expected.Build());
}

TEST(SceneLibraryRewrite, TitlesDifferingInCaseAreDifferentTitles) {
  LibraryFileBuilder old = ThreeEntries();
  old.entries.push_back({30, 1, "X\\*.BGL", "AERILON BY VESK"});
  old.entries.push_back({30, 1, "Y\\*.BGL", "Aerilon by Vesk "});
  LibraryFileBuilder expected = old.Rewritten();
  expected.entries.insert(expected.entries.begin(), kAerilon);
  EXPECT_EQ(Rewrite(old.Build(), AerilonEdit()), expected.Build());
}

TEST(SceneLibraryRewrite, RemoveDropsOnlyTheMatchingEntry) {
  LibraryFileBuilder old = ThreeEntries();
  old.entries.insert(old.entries.begin() + 2, kAerilon);
  LibraryFileBuilder expected = ThreeEntries().Rewritten();
  EXPECT_EQ(Rewrite(old.Build(), AerilonEdit(true)), expected.Build());
}

TEST(SceneLibraryRewrite, RemoveWithoutTheTitleRewritesTheSectionsInTheNewOrder) {
  LibraryFileBuilder old = ThreeEntries();
  old.order = {5, 4, 6, 3, 2, 1};
  old.after_list = {0xEE, 0xEF};  // what lies between the list's end and the next section
  std::vector<uint8_t> rewritten = Rewrite(old.Build(), AerilonEdit(true));
  EXPECT_EQ(rewritten, old.Rewritten().Build());
  for (int i = 16; i < 32; ++i) EXPECT_EQ(rewritten[i], 0) << i;
}

TEST(SceneLibraryRewrite, AnEmptyListGetsTheNewEntryBeforeItsZeroByte) {
  LibraryFileBuilder old;
  LibraryFileBuilder expected = old.Rewritten();
  expected.entries = {kAerilon};
  EXPECT_EQ(Rewrite(old.Build(), AerilonEdit()), expected.Build());
  EXPECT_EQ(Rewrite(old.Build(), AerilonEdit(true)), old.Rewritten().Build());
}

TEST(SceneLibraryRewrite, EntryMarksOtherThanOneAreCarriedAsTheyAre) {
  LibraryFileBuilder old = ThreeEntries();
  old.entries[1].mark = 7;
  LibraryFileBuilder expected = old.Rewritten();
  expected.entries.insert(expected.entries.begin(), kAerilon);
  EXPECT_EQ(Rewrite(old.Build(), AerilonEdit()), expected.Build());
}

TEST(SceneLibraryRewrite, SectionsSharingAnOffsetEachGetTheBytesUpToTheNextOne) {
  LibraryFileBuilder old = ThreeEntries();
  old.sections[2].clear();  // section 2 starts where section 3 starts
  std::vector<uint8_t> bytes = old.Build();
  std::vector<uint8_t> rewritten = Rewrite(bytes, AerilonEdit(true));
  // New layout: header, 1, 2 (= a copy of 3), 3, 6, list, 5.
  size_t expected_size = bytes.size() + old.sections[3].size();
  ASSERT_EQ(rewritten.size(), expected_size);
  uint32_t second = rewritten[6] | (rewritten[7] << 8);
  uint32_t third = rewritten[8] | (rewritten[9] << 8);
  EXPECT_EQ(third - second, old.sections[3].size());
  EXPECT_TRUE(
      std::equal(old.sections[3].begin(), old.sections[3].end(), rewritten.begin() + second));
  EXPECT_TRUE(
      std::equal(old.sections[3].begin(), old.sections[3].end(), rewritten.begin() + third));
}

TEST(SceneLibraryRewrite, ALibraryThatWouldOutgrowSixteenBitOffsetsIsRefused) {
  LibraryFileBuilder old = ThreeEntries();
  old.sections[5].clear();
  old.sections[5].assign(kLibraryMaxLength - old.Build().size(), 0x5A);  // exactly the limit
  ASSERT_EQ(old.Build().size(), kLibraryMaxLength);
  EXPECT_EQ(Rewrite(old.Build(), AerilonEdit(true)).size(), kLibraryMaxLength);  // still fits
  EXPECT_TRUE(Rewrite(old.Build(), AerilonEdit()).empty());  // one entry more does not
}

TEST(SceneLibraryAreaList, FindAreaEntryReadsTheFieldsOfTheFirstMatch) {
  std::vector<uint8_t> bytes = ThreeEntries().Build();
  LibraryImage image{bytes.data(), static_cast<uint32_t>(bytes.size())};
  AreaEntry entry;
  ASSERT_TRUE(FindAreaEntry(image, "Alpine Airfields", &entry));
  EXPECT_EQ(entry.type, 30);
  EXPECT_EQ(entry.active_flag, 0);
  EXPECT_STREQ(entry.folder_pattern, "=:\\=Alps\\*.BGL");
  EXPECT_EQ(bytes[entry.offset], 1);
  EXPECT_FALSE(FindAreaEntry(image, "Alpine", &entry));
  EXPECT_FALSE(FindAreaEntry(image, "", &entry));
}

void ExpectRejected(const std::vector<uint8_t>& bytes, const char* reason_part) {
  Diagnostic problem{};
  EXPECT_FALSE(CheckLibraryImage(bytes.data(), static_cast<uint32_t>(bytes.size()), &problem));
  EXPECT_NE(std::strstr(problem.text, reason_part), nullptr) << problem.text;
}

TEST(SceneLibraryCheck, ForeignFilesAreRejected) {
  std::vector<uint8_t> bytes = ThreeEntries().Build();
  ASSERT_TRUE(CheckLibraryImage(bytes.data(), static_cast<uint32_t>(bytes.size()), nullptr));
  std::vector<uint8_t> signature = bytes;
  signature[3] = 0x53;
  ExpectRejected(signature, "wrong signature or format mark");
  std::vector<uint8_t> mark = bytes;
  mark[33] = 1;
  ExpectRejected(mark, "wrong signature or format mark");
  ExpectRejected(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 35), "shorter than");
}

TEST(SceneLibraryCheck, NothingOutsideTheImageIsEverRead) {
  LibraryFileBuilder library = ThreeEntries();
  library.order = {1, 2, 3, 5, 6, 4};  // the list runs to the end of the file
  std::vector<uint8_t> bytes = library.Build();
  // Without its zero byte the list would run on past the end.
  ExpectRejected(std::vector<uint8_t>(bytes.begin(), bytes.end() - 1), "area list runs past");
  // An entry cut inside its title.
  ExpectRejected(std::vector<uint8_t>(bytes.begin(), bytes.end() - 3), "area list runs past");
  // An entry cut inside its first three bytes: the last entry and the
  // list's zero byte make way for a mark and a type code alone.
  std::vector<uint8_t> last_entry(bytes.begin(), bytes.end() - 1 - 31);
  last_entry.push_back(1);
  last_entry.push_back(30);
  ExpectRejected(last_entry, "area list runs past");
  // A list whose zero byte lies in the next section would lose its end when
  // its section is copied behind the new entry.
  std::vector<uint8_t> crossing = ThreeEntries().Build();
  uint32_t fifth = crossing[12] | (crossing[13] << 8);
  LibraryFileBuilder::Put16(crossing, 12, fifth - 1);
  ExpectRejected(crossing, "area list runs past the end of its section");
  // Offsets beyond the file or below zero as signed words.
  std::vector<uint8_t> beyond = bytes;
  LibraryFileBuilder::Put16(beyond, 8, bytes.size() + 1);
  ExpectRejected(beyond, "section 3 starts at");
  std::vector<uint8_t> negative = bytes;
  LibraryFileBuilder::Put16(negative, 14, 0x8001);
  ExpectRejected(negative, "section 6 starts at -32767");
}

TEST(SceneLibraryLoad, EachFailureHasItsStatusAndHoldsNothing) {
  FakeFileSystem fs;
  LibraryImage image{};
  Diagnostic problem{};
  EXPECT_EQ(LoadLibraryFile(fs, "WORLD.VIS", &image, &problem), kStatusLibraryNotOpened);
  EXPECT_STREQ(problem.file, "WORLD.VIS");

  fs.files["WORLD.VIS"] = ThreeEntries().Build();
  fs.read_only.insert("WORLD.VIS");
  EXPECT_EQ(LoadLibraryFile(fs, "WORLD.VIS", &image, &problem), kStatusLibraryNotOpened);
  ASSERT_EQ(LoadLibraryFile(fs, "WORLD.VIS", &image, &problem, OpenMode::kReadOnly), kStatusOk);
  FreeLibraryImage(fs, &image);
  fs.read_only.clear();

  fs.no_memory_for_reads = true;
  EXPECT_EQ(LoadLibraryFile(fs, "WORLD.VIS", &image, &problem), kStatusNoMemory);
  fs.no_memory_for_reads = false;

  fs.files["WORLD.VIS"][2] = 0;
  EXPECT_EQ(LoadLibraryFile(fs, "WORLD.VIS", &image, &problem), kStatusLibraryFormat);
  EXPECT_STREQ(problem.file, "WORLD.VIS");
  EXPECT_EQ(fs.live_blocks, 0);

  fs.files["WORLD.VIS"] = ThreeEntries().Build();
  ASSERT_EQ(LoadLibraryFile(fs, "WORLD.VIS", &image, &problem), kStatusOk);
  EXPECT_EQ(image.size, fs.files["WORLD.VIS"].size());
  EXPECT_EQ(std::memcmp(image.bytes, fs.files["WORLD.VIS"].data(), image.size), 0);
  FreeLibraryImage(fs, &image);
  EXPECT_EQ(fs.live_blocks, 0);
}

}  // namespace
