#include <gtest/gtest.h>

#include "tests/support/scenery_test_support.h"

using namespace scenery_test;
using scenery_source::WriteSceneryFile;

namespace {

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, uint32_t from, uint32_t count) {
  return std::vector<uint8_t>(bytes.begin() + from, bytes.begin() + from + count);
}

void Append(std::vector<uint8_t>& to, const std::vector<uint8_t>& bytes) {
  to.insert(to.end(), bytes.begin(), bytes.end());
}

SceneryFile OneKeptObject() {
  SceneryFile file = FileOverArea();
  file.index = {Header(1), Header(2), Header(3), Header(4)};
  file.index.push_back(AddObject(file, 1, false));
  return file;
}

TEST(SceneryFilterBounds, BoxesThatOnlyTouchTheBoundsAreLeftAlone) {
  for (int side = 0; side < 4; ++side) {
    SceneryFile file = OneKeptObject();
    // A box lying just outside one edge of the bounds, sharing that edge.
    file.north = kArea.north;
    file.south = kArea.south;
    file.east = kArea.east;
    file.west = kArea.west;
    if (side == 0) file.south = kArea.north, file.north = kArea.north + 100;
    if (side == 1) file.north = kArea.south, file.south = kArea.south - 100;
    if (side == 2) file.west = kArea.east, file.east = kArea.east + 100;
    if (side == 3) file.east = kArea.west, file.west = kArea.west - 100;
    const Filtered touching = FilterInArea(WriteSceneryFile(file).bytes);
    EXPECT_EQ(touching.outcome, FilterOutcome::kUntouched) << "side " << side;
    EXPECT_TRUE(touching.bytes.empty());

    // One unit across the edge is an overlap, and the file is rewritten.
    if (side == 0) file.south -= 1;
    if (side == 1) file.north += 1;
    if (side == 2) file.west -= 1;
    if (side == 3) file.east += 1;
    EXPECT_EQ(FilterInArea(WriteSceneryFile(file).bytes).outcome, FilterOutcome::kRewritten)
        << "side " << side;
  }
}

TEST(SceneryFilterBounds, NoAreasMeansNoFileIsTouched) {
  const KillArea no_area_bounds{2147483647, -2147483647 - 1, -2147483647 - 1, 134217727};
  SceneryFile file = OneKeptObject();
  file.north = 10001750;
  file.south = -10001750;
  file.east = 2147483647;
  file.west = -2147483647 - 1;
  EXPECT_EQ(Filter(WriteSceneryFile(file).bytes, {}, no_area_bounds).outcome,
            FilterOutcome::kUntouched);
}

TEST(SceneryFilterBounds, FileWithoutTheIndexMarkIsNotRewritten) {
  SceneryFile file = OneKeptObject();
  file.indexed = false;
  const Filtered filtered = FilterInArea(WriteSceneryFile(file).bytes);
  EXPECT_EQ(filtered.outcome, FilterOutcome::kNotIndexed);
  EXPECT_TRUE(filtered.bytes.empty());
}

// Kept objects keep their place in the list, so a kept object stands right
// behind its level-4 header; the block of the one entry read back tells
// which object it was.
std::vector<std::vector<uint8_t>> KeptBlocks(const SceneryFile& file) {
  const Filtered filtered = FilterInArea(WriteSceneryFile(file).bytes);
  EXPECT_EQ(filtered.outcome, FilterOutcome::kRewritten);
  const ReadBackList list = ReadNewList(filtered.bytes);
  EXPECT_TRUE(list.ok);
  EXPECT_EQ(list.count_field, list.entries.size());
  return list.blocks;
}

TEST(SceneryFilterObjects, ObjectsOnAnEdgeAreKeptAndThoseInsideDropped) {
  struct Place {
    int32_t latitude, longitude;
    bool kept;
  };
  const Place places[] = {
      {kArea.north, 2000, true},     {kArea.south, 2000, true},      {3000, kArea.west, true},
      {3000, kArea.east, true},      {kArea.north - 1, 2000, false}, {kArea.south + 1, 2000, false},
      {3000, kArea.west + 1, false}, {3000, kArea.east - 1, false},
  };
  for (const Place& place : places) {
    SceneryFile file = OneKeptObject();
    Entry entry = AddObject(file, 1, true);
    file.objects.back().latitude = place.latitude;
    file.objects.back().longitude = place.longitude;
    file.index.push_back(entry);
    const auto blocks = KeptBlocks(file);
    ASSERT_EQ(blocks.size(), place.kept ? 2u : 1u) << place.latitude << " " << place.longitude;
    if (place.kept) {
      EXPECT_EQ(blocks[1], ObjectBlockBytes(file.objects.back()));
    }
  }
}

TEST(SceneryFilterObjects, EveryAreaCountsAndEveryPositionFormIsRead) {
  SceneryFile file = OneKeptObject();
  const KillArea second{6000, 9000, 8000, 7000};
  const KillArea bounds{1000, 9000, 8000, 2000};
  // Selector 5 written as 3 + 2, and selector 2 written as 0xFFFF + 3.
  Entry in_second = AddObject(file, 1, true);
  file.objects.back().latitude = 8000;
  file.objects.back().longitude = 7000;
  file.objects.back().position_a = 3;
  file.objects.back().position_b = 2;
  Entry wrapped_selector = AddObject(file, 1, true);
  file.objects.back().position_a = 0xFFFF;
  file.objects.back().position_b = 3;
  // A 16-byte sub-record and a skipped one ahead of the position.
  Entry behind_others = AddObject(file, 1, true);
  file.objects.back().before.insert(file.objects.back().before.begin(),
                                    {1, 0, {9, 9, 9, 9, 9, 9, 9, 9}});
  Entry no_position = AddObject(file, 1, true);
  file.objects.back().has_position = false;
  file.index.insert(file.index.end(), {in_second, wrapped_selector, behind_others, no_position});

  const Filtered filtered = Filter(WriteSceneryFile(file).bytes, {kArea, second}, bounds);
  ASSERT_EQ(filtered.outcome, FilterOutcome::kRewritten);
  const ReadBackList list = ReadNewList(filtered.bytes);
  ASSERT_EQ(list.blocks.size(), 2u);
  EXPECT_EQ(list.blocks[0], ObjectBlockBytes(file.objects[0]));
  EXPECT_EQ(list.blocks[1], ObjectBlockBytes(file.objects[4]));  // the one without a position
}

// The whole rewritten file when nothing is dropped, laid out by hand: the
// blocks packed in index order behind the extension block (one copy per
// entry, padding gone), the old end record, then the index with its size
// and count recomputed and the records of other types left out.
TEST(SceneryFilterLayout, FileWithNothingDroppedIsStillRewrittenAndPacked) {
  SceneryFile file = FileOverArea();
  file.padding_before_blocks = 13;
  file.padding_after_block = 5;
  file.padding_after_index = 21;
  file.end_size = 0x99;
  Entry first = AddObject(file, 1, false);
  Entry second = AddObject(file, 3, false);
  file.objects.back().has_position = false;
  Entry again = first;  // a second entry referring to the first block
  again.data = {0xEE};
  file.index = {Header(1), Header(2), second, Header(3),   OtherRecord{9, 0x3333, 4},
                Header(4), again,     first,  OtherKind(8)};
  // The blocks are written in the order of the objects, so that the index
  // order (second, first, first) differs from the file order.
  const WrittenFile written = WriteSceneryFile(file);

  const std::vector<uint8_t> end_record = Slice(written.bytes, written.end_offset, 8);
  std::vector<uint8_t> expected = Slice(written.bytes, 0, 168);
  std::vector<uint8_t> entries;
  for (const Entry* entry : {&std::get<Entry>(file.index[0]), &std::get<Entry>(file.index[1])}) {
    Append(entries, EntryBytes(*entry, entry->data_offset));
  }
  auto add_block = [&](const Entry& entry) {
    Append(entries, EntryBytes(entry, static_cast<uint32_t>(expected.size())));
    Append(expected, ObjectBlockBytes(file.objects[entry.object]));
  };
  add_block(second);
  Append(entries, EntryBytes(std::get<Entry>(file.index[3]), 0xABCD0003u));
  Append(entries, EntryBytes(std::get<Entry>(file.index[5]), 0xABCD0004u));
  add_block(again);
  add_block(first);
  Append(entries, EntryBytes(OtherKind(8), 0x5151));
  Append(expected, end_record);
  store_u32le(expected.data() + 156, static_cast<uint32_t>(expected.size()));
  const uint32_t list_size = 16 + static_cast<uint32_t>(entries.size()) + 8;
  Append(expected, ListHeadBytes(file.list_carried, list_size, 8));
  Append(expected, entries);
  Append(expected, end_record);
  Append(expected, std::vector<uint8_t>(8, 0));

  const Filtered filtered = FilterInArea(written.bytes);
  ASSERT_EQ(filtered.outcome, FilterOutcome::kRewritten);
  EXPECT_EQ(filtered.bytes, expected);
}

// A level-4 group whose objects are all dropped goes, and with it every
// header above that has nothing left. The work file is never shortened, so
// the headers written before the rewinds stay behind the new end record.
TEST(SceneryFilterGroups, LevelFourGroupEmptiedUpToLevelOne) {
  SceneryFile file = FileOverArea();
  file.index = {Header(1), Header(2), Header(3), Header(4)};
  file.index.push_back(AddObject(file, 1, true));
  file.index.push_back(AddObject(file, 1, true));
  const WrittenFile written = WriteSceneryFile(file);
  const Filtered filtered = FilterInArea(written.bytes);
  ASSERT_EQ(filtered.outcome, FilterOutcome::kRewritten);

  const std::vector<uint8_t> end_record = Slice(written.bytes, written.end_offset, 8);
  std::vector<uint8_t> headers;
  for (int i = 0; i < 4; ++i) {
    const Entry& entry = std::get<Entry>(file.index[i]);
    Append(headers, EntryBytes(entry, entry.data_offset));
  }
  std::vector<uint8_t> expected = Slice(written.bytes, 0, 168);
  Append(expected, end_record);
  store_u32le(expected.data() + 156, static_cast<uint32_t>(expected.size()));
  Append(expected, ListHeadBytes(file.list_carried, 16 + static_cast<uint32_t>(headers.size()), 0));
  Append(expected, end_record);
  Append(expected, Slice(headers, 8, static_cast<uint32_t>(headers.size()) - 8));
  Append(expected, std::vector<uint8_t>(8, 0));
  EXPECT_EQ(filtered.bytes, expected);
  const ReadBackList list = ReadNewList(filtered.bytes);
  EXPECT_TRUE(list.ok);
  EXPECT_TRUE(list.entries.empty());
}

TEST(SceneryFilterGroups, EmptiedGroupsGoButTheirKeptNeighboursStay) {
  SceneryFile file = FileOverArea();
  file.index = {Header(1), Header(2), Header(3), Header(4)};
  file.index.push_back(AddObject(file, 1, false));
  file.index.insert(file.index.end(), {Header(3, 1), Header(4, 1)});
  file.index.push_back(AddObject(file, 1, true));
  file.index.insert(file.index.end(), {Header(1, 2), Header(2, 2)});
  file.index.push_back(AddObject(file, 2, true));
  const ReadBackList list = ReadNewList(FilterInArea(WriteSceneryFile(file).bytes).bytes);
  ASSERT_TRUE(list.ok);
  ASSERT_EQ(list.entries.size(), 5u);
  EXPECT_EQ(list.count_field, 5u);
  for (int i = 0; i < 4; ++i) {
    const Entry& entry = std::get<Entry>(file.index[i]);
    EXPECT_EQ(list.entries[i], EntryBytes(entry, entry.data_offset)) << i;
  }
  EXPECT_EQ(EntryKind(list.entries[4]), scenery::kKindObject);
  EXPECT_EQ(list.blocks.at(0), ObjectBlockBytes(file.objects[0]));
}

// Two level-4 headers in a row, the first left empty: the second is written
// over the first.
TEST(SceneryFilterGroups, SecondOfTwoLevelFourHeadersTakesThePlaceOfTheEmptyFirst) {
  SceneryFile file = FileOverArea();
  Entry first = Header(4, 1);
  Entry second = Header(4, 2);
  second.data.resize(2);  // shorter: a byte of the first stays in the work file
  file.index = {Header(1), Header(2), Header(3), first};
  file.index.push_back(AddObject(file, 1, true));
  file.index.push_back(second);
  file.index.push_back(AddObject(file, 1, false));
  const Filtered filtered = FilterInArea(WriteSceneryFile(file).bytes);
  const ReadBackList list = ReadNewList(filtered.bytes);
  ASSERT_TRUE(list.ok);
  ASSERT_EQ(list.entries.size(), 5u);
  EXPECT_EQ(list.count_field, 5u);
  EXPECT_EQ(list.entries[3], EntryBytes(second, second.data_offset));
  EXPECT_EQ(EntryKind(list.entries[4]), scenery::kKindObject);
  ASSERT_EQ(list.blocks.size(), 1u);
  EXPECT_EQ(list.blocks[0], ObjectBlockBytes(file.objects[1]));
  // The list head's size covers the whole work file, older bytes included.
  uint32_t entry_bytes = 0;
  for (const auto& entry : list.entries) entry_bytes += static_cast<uint32_t>(entry.size());
  EXPECT_EQ(list.size_field, 16 + entry_bytes + 8);
}

TEST(SceneryFilterGroups, TwoLevelOneGroupsBothEmptyLeaveAnEmptyList) {
  SceneryFile file = FileOverArea();
  file.index = {Header(1), Header(2), Header(3), Header(4)};
  file.index.push_back(AddObject(file, 1, true));
  file.index.insert(file.index.end(), {Header(1, 1), Header(2, 1)});
  file.index.push_back(AddObject(file, 4, true));
  const ReadBackList list = ReadNewList(FilterInArea(WriteSceneryFile(file).bytes).bytes);
  ASSERT_TRUE(list.ok);
  EXPECT_TRUE(list.entries.empty());
  EXPECT_EQ(list.count_field, 0u);
}

}  // namespace
