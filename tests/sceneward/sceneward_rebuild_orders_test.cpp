#include <gtest/gtest.h>

#include <map>
#include <random>

#include "sceneward/writer/scenery_generator.h"
#include "tests/support/scenery_rule_reference.h"
#include "tests/support/scenery_test_support.h"

using namespace scenery_test;
using scenery_source::IndexItem;
using scenery_source::WriteSceneryFile;

namespace {

// Every entry carries a serial number in its data, so that an entry of the
// new list can be traced back to the source.
uint16_t SerialOf(const std::vector<uint8_t>& record) {
  return static_cast<uint16_t>(record[16] | (record[17] << 8));
}

void Tag(Entry& entry, uint16_t serial) {
  entry.data.resize(std::max<size_t>(entry.data.size(), 3));
  entry.data[0] = static_cast<uint8_t>(serial);
  entry.data[1] = static_cast<uint8_t>(serial >> 8);
}

bool IsHeader(uint16_t kind) {
  return kind >= 1 && kind <= 4;
}

// An entry that is not a group header, together with the group headers that
// enclose it: the latest of each level, a header clearing those below it.
struct Member {
  uint16_t serial;
  std::vector<uint16_t> groups;
  bool operator==(const Member& other) const {
    return serial == other.serial && groups == other.groups;
  }
};

struct Nesting {
  std::vector<uint16_t> open = std::vector<uint16_t>(5, 0);
  void Enter(uint16_t kind, uint16_t serial) {
    open[kind] = serial;
    for (int lower = kind + 1; lower <= 4; ++lower) open[lower] = 0;
  }
};

// The members the new list must hold: kept objects and entries of other
// kinds, each still inside the groups it was in.
std::vector<Member> MembersThatMustStay(const SceneryFile& file) {
  std::vector<Member> members;
  Nesting nesting;
  for (const IndexItem& item : file.index) {
    const Entry* entry = std::get_if<Entry>(&item);
    if (entry == nullptr) continue;
    const uint16_t serial = static_cast<uint16_t>(entry->data[0] | (entry->data[1] << 8));
    if (IsHeader(entry->kind)) {
      nesting.Enter(entry->kind, serial);
      continue;
    }
    if (entry->kind == 5) {
      const Object& object = file.objects[entry->object];
      if (object.has_position && PointInKillArea(kArea, object.latitude, object.longitude)) {
        continue;
      }
    }
    members.push_back(Member{serial, nesting.open});
  }
  return members;
}

std::vector<Member> MembersOf(const ReadBackList& list) {
  std::vector<Member> members;
  Nesting nesting;
  for (const std::vector<uint8_t>& record : list.entries) {
    const uint16_t kind = EntryKind(record);
    if (IsHeader(kind)) {
      nesting.Enter(kind, SerialOf(record));
    } else {
      members.push_back(Member{SerialOf(record), nesting.open});
    }
  }
  return members;
}

// What must hold of the rewritten file for every order of entries.
void ExpectSoundList(const SceneryFile& file, const std::vector<uint8_t>& rewritten,
                     const std::string& what) {
  const ReadBackList list = ReadNewList(rewritten);
  ASSERT_TRUE(list.ok) << what;
  EXPECT_EQ(list.count_field, list.entries.size()) << what;
  EXPECT_EQ(MembersOf(list), MembersThatMustStay(file)) << what;
  // Every object entry points at a copy of its own block.
  std::map<uint16_t, int> object_of_serial;
  for (const IndexItem& item : file.index) {
    const Entry* entry = std::get_if<Entry>(&item);
    if (entry != nullptr && entry->kind == 5) {
      object_of_serial[static_cast<uint16_t>(entry->data[0] | (entry->data[1] << 8))] =
          entry->object;
    }
  }
  size_t block = 0;
  for (const std::vector<uint8_t>& record : list.entries) {
    if (EntryKind(record) != 5) continue;
    ASSERT_LT(block, list.blocks.size()) << what;
    EXPECT_EQ(list.blocks[block++],
              ObjectBlockBytes(file.objects[object_of_serial[SerialOf(record)]]))
        << what;
  }
}

// Whether the rule as written already gives a sound list for this order.
bool RuleIsSound(const SceneryFile& file, const RuleAsWritten& rule) {
  const ReadBackList list = ReadNewList(rule.bytes);
  return list.ok && list.count_field == list.entries.size() &&
         MembersOf(list) == MembersThatMustStay(file);
}

struct Built {
  SceneryFile file;
  uint16_t serial = 1;
  Built() : file(FileOverArea()) {}
  Built& Add(Entry entry) {
    Tag(entry, serial++);
    file.index.push_back(entry);
    return *this;
  }
  Built& H(uint16_t level) { return Add(Header(level)); }
  Built& Obj(uint16_t object_class, bool inside) {
    return Add(AddObject(file, object_class, inside));
  }
  Built& Other(uint16_t kind) { return Add(OtherKind(kind)); }
};

std::vector<uint8_t> Rewrite(const SceneryFile& file) {
  const Filtered filtered = FilterInArea(WriteSceneryFile(file).bytes);
  EXPECT_EQ(filtered.outcome, FilterOutcome::kRewritten);
  return filtered.bytes;
}

std::vector<uint16_t> SerialsOf(const std::vector<uint8_t>& rewritten) {
  std::vector<uint16_t> serials;
  for (const auto& record : ReadNewList(rewritten).entries) serials.push_back(SerialOf(record));
  return serials;
}

// A level-2 group holds a kept object of another class ahead of its first
// level-3 group, which ends empty. Whatever closes the level-3 group (the
// end of the index, a level-2 or a level-1 header), the level-2 header and
// the object stay, and the count is right.
TEST(SceneryMendedOrders, KeptObjectAheadOfAnEmptyLevelThreeGroupStays) {
  for (int closer = 0; closer < 3; ++closer) {
    Built b;
    b.H(1).H(2).Obj(2, false).H(3).H(4).Obj(1, true);
    if (closer == 1) b.H(2).H(3).H(4).Obj(1, false);
    if (closer == 2) b.H(1).H(2).H(3).H(4).Obj(1, false);
    const std::vector<uint8_t> rewritten = Rewrite(b.file);
    ExpectSoundList(b.file, rewritten, "closer " + std::to_string(closer));
    const std::vector<uint16_t> expected[] = {
        {1, 2, 3}, {1, 2, 3, 7, 8, 9, 10}, {1, 2, 3, 7, 8, 9, 10, 11}};
    EXPECT_EQ(SerialsOf(rewritten), expected[closer]) << closer;

    // The rule as written would lose the object and miscount the list.
    EXPECT_FALSE(RuleIsSound(b.file, RebuildByTheRule(b.file, WriteSceneryFile(b.file), {kArea})));
  }
}

TEST(SceneryMendedOrders, KeptLevelFourGroupAheadOfAnEmptyLevelThreeGroupStays) {
  Built b;
  b.H(1).H(2).H(4).Obj(1, false).H(3).H(4).Obj(1, true);
  const std::vector<uint8_t> rewritten = Rewrite(b.file);
  ExpectSoundList(b.file, rewritten, "");
  EXPECT_EQ(SerialsOf(rewritten), (std::vector<uint16_t>{1, 2, 3, 4}));
}

// An entry of another kind inside a group that ends empty keeps the group.
TEST(SceneryMendedOrders, EntryOfAnotherKindKeepsItsEmptyGroup) {
  Built in_level4;
  in_level4.H(1).H(2).H(3).H(4).Other(7).Obj(1, true);
  std::vector<uint8_t> rewritten = Rewrite(in_level4.file);
  ExpectSoundList(in_level4.file, rewritten, "level 4");
  EXPECT_EQ(SerialsOf(rewritten), (std::vector<uint16_t>{1, 2, 3, 4, 5}));

  Built in_level2;
  in_level2.H(1).H(2).Other(0x9999).H(3).H(4).Obj(1, true).H(2).H(3).H(4).Obj(1, true);
  rewritten = Rewrite(in_level2.file);
  ExpectSoundList(in_level2.file, rewritten, "level 2");
  EXPECT_EQ(SerialsOf(rewritten), (std::vector<uint16_t>{1, 2, 3}));

  Built behind_level1;
  behind_level1.H(1).Other(0).H(2).H(3).H(4).Obj(1, true);
  rewritten = Rewrite(behind_level1.file);
  ExpectSoundList(behind_level1.file, rewritten, "level 1");
  EXPECT_EQ(SerialsOf(rewritten), (std::vector<uint16_t>{1, 2}));
}

// Orders the grouping does not foresee: class-1 objects outside a level-4
// group, objects of other classes behind a level-4 header. Nothing kept is
// lost; an empty header standing ahead of kept entries stays.
TEST(SceneryMendedOrders, UnforeseenOrdersLoseNothingAndCountRight) {
  Built class1_under_level3;
  class1_under_level3.H(1).H(2).H(3).Obj(1, false).H(4).Obj(1, true);
  std::vector<uint8_t> rewritten = Rewrite(class1_under_level3.file);
  ExpectSoundList(class1_under_level3.file, rewritten, "class 1 under level 3");
  EXPECT_EQ(SerialsOf(rewritten), (std::vector<uint16_t>{1, 2, 3, 4}));

  Built other_behind_level4;
  other_behind_level4.H(1).H(2).H(3).H(4).Obj(1, true).Obj(3, false);
  rewritten = Rewrite(other_behind_level4.file);
  ExpectSoundList(other_behind_level4.file, rewritten, "other class behind level 4");
  EXPECT_EQ(SerialsOf(rewritten), (std::vector<uint16_t>{1, 2, 3, 4, 6}));

  Built before_any_header;
  before_any_header.Obj(2, false).Obj(1, false).H(1).H(2).Obj(1, true);
  rewritten = Rewrite(before_any_header.file);
  ExpectSoundList(before_any_header.file, rewritten, "before any header");
  EXPECT_EQ(SerialsOf(rewritten), (std::vector<uint16_t>{1, 2}));
}

// Orders of groups as scenery files hold them: headers nest, class-1
// objects stand under level-4 headers, objects of other classes under level
// 2 or 3 ahead of any level-4 header, and now and then an entry of another
// kind.
Built NestedOrder(std::mt19937& random, bool other_kinds) {
  Built b;
  const int length = 1 + random() % 24;
  int depth = 0;
  bool level4_in_group = false;
  for (int i = 0; i < length; ++i) {
    const int pick = random() % 10;
    if (pick < 4 || depth == 0) {
      const int level = 1 + random() % std::min(4, depth + 1);
      b.H(static_cast<uint16_t>(level));
      depth = level;
      if (level < 4) level4_in_group = false;
      if (level == 4) level4_in_group = true;
    } else if (pick < 9) {
      const bool inside = random() % 100 < 60;
      if (depth == 4) {
        b.Obj(1, inside);
      } else if (depth >= 2 && !level4_in_group) {
        b.Obj(static_cast<uint16_t>(2 + random() % 3), inside);
      } else {
        b.H(static_cast<uint16_t>(depth + 1));
        ++depth;
        level4_in_group = level4_in_group || depth == 4;
      }
    } else if (other_kinds) {
      b.Other(static_cast<uint16_t>(6 + random() % 4));
    }
  }
  return b;
}

// Any order at all, with other kinds and records of other types.
Built AnyOrder(std::mt19937& random) {
  Built b;
  const int length = random() % 20;
  for (int i = 0; i < length; ++i) {
    const int pick = random() % 12;
    if (pick < 4) {
      b.H(static_cast<uint16_t>(1 + random() % 4));
    } else if (pick < 10) {
      b.Obj(static_cast<uint16_t>(1 + random() % 3), random() % 2 == 0);
    } else if (pick < 11) {
      b.Other(static_cast<uint16_t>(random() % 2 == 0 ? 0 : 6 + random() % 100));
    } else {
      b.file.index.push_back(scenery_source::OtherRecord{static_cast<uint16_t>(3 + random() % 9)});
    }
  }
  return b;
}

void CompareWithTheRule(const Built& b, int& sound_orders, const std::string& what) {
  const scenery_source::WrittenFile written = WriteSceneryFile(b.file);
  const Filtered filtered = FilterInArea(written.bytes);
  ASSERT_EQ(filtered.outcome, FilterOutcome::kRewritten) << what;
  ExpectSoundList(b.file, filtered.bytes, what);
  const RuleAsWritten rule = RebuildByTheRule(b.file, written, {kArea});
  if (!RuleIsSound(b.file, rule)) return;
  ++sound_orders;
  EXPECT_EQ(filtered.bytes, rule.bytes) << what;
}

TEST(SceneryMendedOrders, WhereTheRuleIsSoundTheBytesAreExactlyItsOwn) {
  std::mt19937 random(20261208);
  int sound_orders = 0;
  const int orders = 3000;
  for (int i = 0; i < orders; ++i) {
    CompareWithTheRule(NestedOrder(random, i % 3 == 0), sound_orders,
                       "nested " + std::to_string(i));
    if (HasFatalFailure()) return;
  }
  // Most nested orders are ones the rule handles; a generator that drifted
  // into producing none would make this comparison hollow.
  EXPECT_GT(sound_orders, orders / 2);
}

TEST(SceneryMendedOrders, AnyOrderKeepsEveryKeptEntryInItsGroupsAndCountsRight) {
  std::mt19937 random(7);
  int sound_orders = 0;
  const int orders = 3000;
  for (int i = 0; i < orders; ++i) {
    CompareWithTheRule(AnyOrder(random), sound_orders, "any " + std::to_string(i));
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(sound_orders, 0);
  EXPECT_LT(sound_orders, orders);  // the rule as written fails some of them
}

}  // namespace

namespace {

// Large generated files, with groups emptied at every level: the objects
// inside the area go, every other one stays with its block, and where the
// rule as written is sound the bytes are exactly its own.
TEST(SceneryMendedOrders, GeneratedFilesKeepExactlyTheObjectsOutsideTheArea) {
  for (uint32_t seed = 1; seed <= 6; ++seed) {
    scenery_source::GeneratorOptions options;
    options.target_size = 200000;
    options.percent_inside = seed * 15;
    options.seed = seed;
    const scenery_source::GeneratedScenery generated = scenery_source::GenerateScenery(options);
    const scenery_source::WrittenFile written = WriteSceneryFile(generated.file);
    const Filtered filtered = Filter(written.bytes, {generated.area}, generated.area);
    ASSERT_EQ(filtered.outcome, FilterOutcome::kRewritten);
    const ReadBackList list = ReadNewList(filtered.bytes);
    ASSERT_TRUE(list.ok);
    EXPECT_EQ(list.count_field, list.entries.size());
    std::vector<std::vector<uint8_t>> outside;
    for (const auto& item : generated.file.index) {
      const Entry& entry = std::get<Entry>(item);
      if (entry.kind != 5) continue;
      const Object& object = generated.file.objects[entry.object];
      if (!PointInKillArea(generated.area, object.latitude, object.longitude)) {
        outside.push_back(ObjectBlockBytes(object));
      }
    }
    EXPECT_EQ(list.blocks, outside) << seed;
    EXPECT_LT(outside.size(), generated.file.objects.size()) << seed;
    const RuleAsWritten rule = RebuildByTheRule(generated.file, written, {generated.area});
    const ReadBackList rule_list = ReadNewList(rule.bytes);
    if (rule_list.count_field == rule_list.entries.size() && rule_list.blocks == outside) {
      EXPECT_EQ(filtered.bytes, rule.bytes) << seed;
    }
  }
}

}  // namespace
