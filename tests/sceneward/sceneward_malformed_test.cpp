#include <gtest/gtest.h>

#include <random>

#include "sceneward/writer/scenery_generator.h"
#include "tests/support/scenery_test_support.h"

using namespace scenery_test;
using scenery_source::WriteSceneryFile;
using scenery_source::WrittenFile;

namespace {

SceneryFile SmallGroupedFile() {
  SceneryFile file = FileOverArea();
  file.index = {Header(1), Header(2), Header(3), Header(4)};
  file.index.push_back(AddObject(file, 1, false));
  file.index.push_back(AddObject(file, 1, true));
  return file;
}

void ExpectFault(const std::vector<uint8_t>& bytes, SceneryFault fault, uint32_t offset) {
  const Filtered filtered = FilterInArea(bytes);
  EXPECT_EQ(filtered.outcome, FilterOutcome::kFailed);
  EXPECT_TRUE(filtered.bytes.empty());
  EXPECT_EQ(filtered.error.fault, fault) << DescribeSceneryFault(filtered.error.fault);
  EXPECT_EQ(filtered.error.offset, offset);
}

uint32_t EntryOffset(const WrittenFile& written, const SceneryFile& file, size_t item) {
  uint32_t at = written.index_offset + 24;
  for (size_t i = 0; i < item; ++i) {
    const Entry* entry = std::get_if<Entry>(&file.index[i]);
    at += entry ? 16 + static_cast<uint32_t>(entry->data.size()) : 8;
  }
  return at;
}

// Every shorter prefix of a file is refused without a read past its end
// (the address sanitizer build watches the reads).
TEST(SceneryMalformed, EveryTruncationIsRefused) {
  SceneryFile file = SmallGroupedFile();
  const WrittenFile written = WriteSceneryFile(file);
  ASSERT_EQ(FilterInArea(written.bytes).outcome, FilterOutcome::kRewritten);
  for (size_t size = 0; size < written.bytes.size(); ++size) {
    const std::vector<uint8_t> prefix(written.bytes.begin(), written.bytes.begin() + size);
    const Filtered filtered = FilterInArea(prefix);
    EXPECT_EQ(filtered.outcome, FilterOutcome::kFailed) << size;
    EXPECT_NE(filtered.error.fault, SceneryFault::kNone) << size;
  }
  EXPECT_EQ(FilterInArea({}).error.fault, SceneryFault::kShortHeader);
}

TEST(SceneryMalformed, EntryDataLimit) {
  SceneryFile file = SmallGroupedFile();
  std::get<Entry>(file.index[2]).data.assign(100, 0x5A);
  EXPECT_EQ(FilterInArea(WriteSceneryFile(file).bytes).outcome, FilterOutcome::kRewritten);
  std::get<Entry>(file.index[2]).data.assign(101, 0x5A);
  const WrittenFile written = WriteSceneryFile(file);
  ExpectFault(written.bytes, SceneryFault::kEntryDataTooLong, EntryOffset(written, file, 2));
}

TEST(SceneryMalformed, ObjectBlockLimit) {
  SceneryFile file = SmallGroupedFile();
  // First sub-record 16, skipped sub-record 8 + n, position 24, end mark 8.
  file.objects[1].before[0].body.assign(16384 - 56, 0x33);
  ASSERT_EQ(ObjectBlockBytes(file.objects[1]).size(), 16384u);
  EXPECT_EQ(FilterInArea(WriteSceneryFile(file).bytes).outcome, FilterOutcome::kRewritten);
  file.objects[1].before[0].body.push_back(0x33);
  const WrittenFile written = WriteSceneryFile(file);
  ExpectFault(written.bytes, SceneryFault::kBlockTooLong, written.block_offsets[1]);
}

TEST(SceneryMalformed, ChainsThatRunOutOfTheirBlock) {
  SceneryFile file = SmallGroupedFile();
  file.objects[0].has_position = false;
  file.objects[0].end_mark = false;
  WrittenFile written = WriteSceneryFile(file);
  ExpectFault(written.bytes, SceneryFault::kChainWithoutEnd, written.block_offsets[0]);

  // A sub-record whose length would wrap a 32-bit offset back into the block.
  file = SmallGroupedFile();
  file.objects[0].before[0].body.resize(8);
  written = WriteSceneryFile(file);
  store_u32le(written.bytes.data() + written.block_offsets[0] + 16 + 4, 0xFFFFFFF0u);
  ExpectFault(written.bytes, SceneryFault::kChainWithoutEnd, written.block_offsets[0]);

  // A position sub-record cut by the end of its block.
  file = SmallGroupedFile();
  written = WriteSceneryFile(file);
  const uint32_t block = written.block_offsets[0];
  const uint32_t length = load_u32le(written.bytes.data() + block + 4);
  store_u32le(written.bytes.data() + block + 4, length - 8 - 4);  // end mark and 4 bytes off
  ExpectFault(written.bytes, SceneryFault::kChainWithoutEnd, block);
}

TEST(SceneryMalformed, OffsetsPastTheData) {
  SceneryFile file = SmallGroupedFile();
  WrittenFile written = WriteSceneryFile(file);
  std::vector<uint8_t> bytes = written.bytes;
  store_u32le(bytes.data() + 156, static_cast<uint32_t>(bytes.size()));
  ExpectFault(bytes, SceneryFault::kIndexOffsetPastEnd, 128);

  bytes = written.bytes;
  const uint32_t object_entry = EntryOffset(written, file, 4);
  store_u32le(bytes.data() + object_entry + 12, static_cast<uint32_t>(bytes.size()) - 4);
  ExpectFault(bytes, SceneryFault::kBlockPastEnd, static_cast<uint32_t>(bytes.size()) - 4);

  bytes = written.bytes;
  store_u32le(bytes.data() + object_entry + 12, 0xFFFFFFFCu);
  ExpectFault(bytes, SceneryFault::kBlockPastEnd, 0xFFFFFFFCu);

  bytes = written.bytes;  // an entry whose size runs past the end of the file
  store_u32le(bytes.data() + object_entry + 4, 0xFFFFFFFFu);
  ExpectFault(bytes, SceneryFault::kEntryDataTooLong, object_entry);
  store_u32le(bytes.data() + object_entry + 4, 7);
  ExpectFault(bytes, SceneryFault::kEntryTooShort, object_entry);

  file.padding_after_index = 0;
  file.end_record = false;
  written = WriteSceneryFile(file);
  ExpectFault(written.bytes, SceneryFault::kNoEndRecord, written.end_offset);
}

TEST(SceneryMalformed, IndexesThatAreNotOneListOfEntries) {
  SceneryFile file = SmallGroupedFile();
  WrittenFile written = WriteSceneryFile(file);
  std::vector<uint8_t> bytes = written.bytes;
  // The index starts at its end record: no list at all.
  store_u32le(bytes.data() + 156, written.end_offset);
  ExpectFault(bytes, SceneryFault::kNoListHead, written.end_offset);
  // The index starts at its first entry, ahead of any list head.
  store_u32le(bytes.data() + 156, written.index_offset + 24);
  ExpectFault(bytes, SceneryFault::kNoListHead, written.index_offset + 24);
  // A second list head inside the list.
  bytes = written.bytes;
  const uint32_t second = EntryOffset(written, file, 1);
  store_u16le(bytes.data() + second, scenery::kListHead);
  ExpectFault(bytes, SceneryFault::kSecondListHead, second);
}

// Random damage to realistic files: whatever the filter decides, it reads
// only inside the data, and a file it rewrites has a list it can account for.
TEST(SceneryMalformed, DamagedFilesAreRefusedOrRewrittenSoundly) {
  scenery_source::GeneratorOptions options;
  options.target_size = 6000;
  options.level2_per_level1 = 1;
  const scenery_source::GeneratedScenery generated = scenery_source::GenerateScenery(options);
  const std::vector<uint8_t> good = WriteSceneryFile(generated.file).bytes;
  std::mt19937 random(99);
  int refused = 0, rewritten = 0;
  for (int round = 0; round < 1500; ++round) {
    std::vector<uint8_t> bytes = good;
    const int changes = 1 + random() % 4;
    for (int c = 0; c < changes; ++c) {
      // Aim at the index and the extension block, where offsets and sizes live.
      const uint32_t at = random() % 3 == 0 ? 128 + random() % 40 : random() % bytes.size();
      bytes[at] = static_cast<uint8_t>(random() % 3 == 0 ? 0xFF : random());
    }
    if (random() % 5 == 0) bytes.resize(random() % bytes.size());
    const Filtered filtered = Filter(bytes, {generated.area}, generated.area);
    if (filtered.outcome == FilterOutcome::kFailed) {
      ++refused;
      EXPECT_NE(filtered.error.fault, SceneryFault::kNone);
      continue;
    }
    if (filtered.outcome != FilterOutcome::kRewritten) continue;
    ++rewritten;
    const ReadBackList list = ReadNewList(filtered.bytes);
    ASSERT_TRUE(list.ok) << round;
    EXPECT_EQ(list.count_field, list.entries.size()) << round;
  }
  EXPECT_GT(refused, 0);
  EXPECT_GT(rewritten, 0);
}

}  // namespace
