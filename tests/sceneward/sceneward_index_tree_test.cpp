#include "sceneward/scenery/index_tree.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/scenery_test_support.h"

using namespace scenery_test;
using scenery_source::WriteSceneryFile;
using scenery_source::WrittenFile;

namespace {

struct Shown {
  bool ok;
  std::vector<std::string> lines;
  SceneryError error;
};

Shown Show(const std::vector<uint8_t>& bytes) {
  std::vector<uint8_t> exact(bytes);
  exact.shrink_to_fit();
  Shown shown{false, {}, kNoSceneryError};
  shown.ok = FormatIndexTree(
      ByteSpan{exact.data(), static_cast<uint32_t>(exact.size())},
      [](void* context, const char* line) {
        static_cast<std::vector<std::string>*>(context)->push_back(line);
      },
      &shown.lines, shown.error);
  return shown;
}

std::string At(uint32_t offset) {
  return "@" + std::to_string(offset) + " ";
}

TEST(SceneryIndexTree, ShowsGroupsObjectsAndOtherRecordsIndentedByLevel) {
  SceneryFile file = FileOverArea();
  file.north = 10001750 / 2;  // 45 degrees north
  file.south = -10001750;     // 90 degrees south
  file.east = 1 << 30;        // 90 degrees east
  file.west = -(1 << 30);
  Entry placed = AddObject(file, 1, false);
  file.objects.back().latitude = -10001750 / 2;  // 45 degrees south
  file.objects.back().longitude = 1 << 29;       // 45 degrees east
  Entry unplaced = AddObject(file, 2, false);
  file.objects.back().has_position = false;
  file.index = {Header(1), Header(2), unplaced,     Header(3),
                Header(4), placed,    OtherKind(9), OtherRecord{6, 0, 3}};
  const WrittenFile written = WriteSceneryFile(file);
  uint32_t at = written.index_offset;
  std::vector<uint32_t> offsets;
  at += 24;
  for (const auto& item : file.index) {
    offsets.push_back(at);
    const Entry* entry = std::get_if<Entry>(&item);
    at += entry ? 16 + static_cast<uint32_t>(entry->data.size()) : 8;
  }
  const uint32_t block0 = written.block_offsets[0], block1 = written.block_offsets[1];
  const uint32_t size0 = static_cast<uint32_t>(ObjectBlockBytes(file.objects[0]).size());
  const uint32_t size1 = static_cast<uint32_t>(ObjectBlockBytes(file.objects[1]).size());
  const std::vector<std::string> expected = {
      "box: north 5000875 (45.000000 deg), south -10001750 (-90.000000 deg), east 1073741824 "
      "(90.000000 deg), west -1073741824 (-90.000000 deg)",
      "index at offset " + std::to_string(written.index_offset),
      At(written.index_offset) + "list of 7 entries, size " +
          std::to_string(at - written.index_offset - 8),
      At(offsets[0]) + "level 1 group, class 0, data 4 bytes",
      "  " + At(offsets[1]) + "level 2 group, class 0, data 4 bytes",
      "    " + At(offsets[2]) + "object of class 2, data 2 bytes, block @" +
          std::to_string(block1) + " of " + std::to_string(size1) + " bytes, no position",
      "    " + At(offsets[3]) + "level 3 group, class 0, data 4 bytes",
      "      " + At(offsets[4]) + "level 4 group, class 0, data 4 bytes",
      "        " + At(offsets[5]) + "object of class 1, data 2 bytes, block @" +
          std::to_string(block0) + " of " + std::to_string(size0) +
          " bytes, latitude -5000875 (-45.000000 deg), longitude 536870912 (45.000000 deg)",
      "        " + At(offsets[6]) + "entry of kind 9, class 0, data offset 20817, data 2 bytes",
      "        " + At(offsets[7]) + "record of type 6, size 3",
      At(written.end_offset) + "end of index",
  };
  const Shown shown = Show(written.bytes);
  EXPECT_TRUE(shown.ok) << DescribeSceneryFault(shown.error.fault);
  EXPECT_EQ(shown.lines, expected);
}

TEST(SceneryIndexTree, SaysWhatIsWrongAndWhere) {
  SceneryFile file = FileOverArea();
  file.index = {Header(1), Header(4)};
  file.index.push_back(AddObject(file, 1, false));
  file.objects[0].has_position = false;
  file.objects[0].end_mark = false;
  const WrittenFile written = WriteSceneryFile(file);
  Shown shown = Show(written.bytes);
  EXPECT_FALSE(shown.ok);
  EXPECT_EQ(shown.error.fault, SceneryFault::kChainWithoutEnd);
  EXPECT_EQ(shown.error.offset, written.block_offsets[0]);
  ASSERT_EQ(shown.lines.size(), 5u);  // box, index, list, both headers
  EXPECT_NE(shown.lines[4].find("level 4 group"), std::string::npos);

  std::vector<uint8_t> cut(written.bytes.begin(), written.bytes.begin() + written.end_offset + 4);
  shown = Show(cut);
  EXPECT_EQ(shown.error.fault, SceneryFault::kChainWithoutEnd);  // found before the cut end

  file.objects[0].end_mark = true;
  file.end_record = false;
  shown = Show(WriteSceneryFile(file).bytes);
  EXPECT_EQ(shown.error.fault, SceneryFault::kNoEndRecord);

  file.indexed = false;
  shown = Show(WriteSceneryFile(file).bytes);
  EXPECT_EQ(shown.error.fault, SceneryFault::kNotIndexed);
  EXPECT_EQ(shown.lines.size(), 1u);  // the box is still shown
  EXPECT_EQ(Show({1, 2, 3}).error.fault, SceneryFault::kShortHeader);
}

}  // namespace
