#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "common/little_endian.h"
#include "rally/course/score_table.h"
#include "rally/host/stdio_platform.h"
#include "tests/support/module_test_support.h"

#include <cstring>

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The C-runtime files with a write that can be made to fail part-way.
struct FailingWrites {
  PlatformOps inner;
  int writes = 0;
  int fail_write = 0;  // 1-based write call that writes only half; 0 = none
  bool fail_finish = false;
  // What the replace answers instead of replacing; kReplaced: it replaces.
  ReplaceOutcome replace_answer = ReplaceOutcome::kReplaced;
};
FailingWrites* g_failing = nullptr;

PlatformOps MakeFailingPlatform(StdioPlatform* files, FailingWrites* failing) {
  failing->inner = MakeStdioPlatform(files);
  g_failing = failing;
  PlatformOps ops = failing->inner;
  ops.write = [](void* c, FileHandle f, const void* d, uint32_t n) {
    if (++g_failing->writes == g_failing->fail_write) n /= 2;
    return g_failing->inner.write(c, f, d, n);
  };
  ops.finish_write = [](void* c, FileHandle f) {
    bool ok = g_failing->inner.finish_write(c, f);
    return ok && !g_failing->fail_finish;
  };
  ops.replace_file = [](void* c, const char* from, const char* to) {
    if (g_failing->replace_answer != ReplaceOutcome::kReplaced) return g_failing->replace_answer;
    return g_failing->inner.replace_file(c, from, to);
  };
  return ops;
}

class ScoreFile : public ::testing::Test {
 protected:
  void SetUp() override {
    std::snprintf(files_.root, sizeof files_.root, "%s", folder_.root.c_str());
    platform_ = MakeFailingPlatform(&files_, &failing_);
    ReadScoreFile(table_, platform_, kPath, 40);
  }
  void TearDown() override { ReleaseNamePool(table_, platform_); }

  void Fill() {
    for (uint32_t i = 0; i < score::kBlockWords; ++i) {
      table_.words[i] = static_cast<int32_t>(i * 7919 - 300000);
    }
    table_.name_slots[0] = "Alfa";
    table_.name_slots[8] = "Ics";
    table_.name_slots[19] = "Zulu";
  }
  fs::path ScorePath() const { return folder_.File("Rally.SCO"); }

  static constexpr const char* kPath = "ADV\\RALLY\\Rally.SCO";
  TempSimFolder folder_;
  StdioPlatform files_{};
  FailingWrites failing_;
  PlatformOps platform_;
  ScoreTable table_{};
};

TEST_F(ScoreFile, WritingThenReadingGivesBackTheBlockAndTheNames) {
  Fill();
  ASSERT_TRUE(WriteScoreFile(table_, platform_, kPath));
  EXPECT_EQ(fs::file_size(ScorePath()), 728u + 5 + 1 * 7 + 4 + 1 * 10 + 5);
  ScoreTable back{};
  ReadScoreFile(back, platform_, kPath, 40);
  EXPECT_EQ(std::memcmp(back.words, table_.words, sizeof back.words), 0);
  for (int k = 0; k < score::kNameSlots; ++k) {
    std::string want = table_.name_slots[k] ? table_.name_slots[k] : "";
    std::string got = back.name_slots[k] ? back.name_slots[k] : "";
    EXPECT_EQ(got, want) << "slot " << k;
  }
  ReleaseNamePool(back, platform_);
  EXPECT_FALSE(fs::exists(folder_.File("Rally.SC$"))) << "no work file is left behind";
}

TEST_F(ScoreFile, TheBlockIsStoredScrambledAndTheNamesPlain) {
  table_.name_slots[0] = "Alfa";
  ASSERT_TRUE(WriteScoreFile(table_, platform_, kPath));
  std::vector<uint8_t> bytes = ReadBytes(ScorePath());
  ASSERT_EQ(bytes.size(), 728u + 5 + 19);
  EXPECT_EQ(load_u32le(bytes.data()), 100u ^ kScrambleInitialKey);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data() + 728)), "Alfa");
}

TEST_F(ScoreFile, WithAllSlotsEmptyTheFileIs748Bytes) {
  ASSERT_TRUE(WriteScoreFile(table_, platform_, kPath));
  EXPECT_EQ(fs::file_size(ScorePath()), 748u);
}

TEST_F(ScoreFile, AWriteFailingPartWayLeavesTheOldFileAsItWas) {
  folder_.WriteBytes("Rally.SCO", ScoreFileBytes({"Vecchio"}));
  std::vector<uint8_t> old = ReadBytes(ScorePath());
  Fill();
  for (int fail_at : {1, 2, 21}) {
    failing_.writes = 0;
    failing_.fail_write = fail_at;
    EXPECT_FALSE(WriteScoreFile(table_, platform_, kPath)) << "write " << fail_at;
    EXPECT_EQ(ReadBytes(ScorePath()), old) << "write " << fail_at;
    EXPECT_FALSE(fs::exists(folder_.File("Rally.SC$")));
  }
  EXPECT_EQ(table_.words[5], 5 * 7919 - 300000) << "nothing in memory is lost";
}

TEST_F(ScoreFile, AFailedFlushOrReplaceLeavesTheOldFileToo) {
  folder_.WriteBytes("Rally.SCO", ScoreFileBytes({"Vecchio"}));
  std::vector<uint8_t> old = ReadBytes(ScorePath());
  Fill();
  failing_.fail_finish = true;
  EXPECT_FALSE(WriteScoreFile(table_, platform_, kPath));
  failing_.fail_finish = false;
  failing_.replace_answer = ReplaceOutcome::kUnchanged;
  EXPECT_FALSE(WriteScoreFile(table_, platform_, kPath));
  EXPECT_EQ(ReadBytes(ScorePath()), old);
  EXPECT_FALSE(fs::exists(folder_.File("Rally.SC$")));
}

// While the score file is missing after a failed replace, the work file may
// be the only copy of the scores: it stays.
TEST_F(ScoreFile, AReplaceThatLeftNoScoreFileKeepsTheWorkFile) {
  Fill();
  failing_.replace_answer = ReplaceOutcome::kTargetMissing;
  EXPECT_FALSE(WriteScoreFile(table_, platform_, kPath));
  EXPECT_TRUE(fs::exists(folder_.File("Rally.SC$")));
}

// Windows refuses to replace a read-only file; the stand-in platform too,
// whoever runs the tests.
TEST_F(ScoreFile, AReadOnlyScoreFileIsNotReplaced) {
  folder_.WriteBytes("Rally.SCO", ScoreFileBytes({"Vecchio"}));
  std::vector<uint8_t> old = ReadBytes(ScorePath());
  fs::permissions(ScorePath(), fs::perms::owner_read | fs::perms::group_read);
  Fill();
  EXPECT_FALSE(WriteScoreFile(table_, platform_, kPath));
  EXPECT_EQ(ReadBytes(ScorePath()), old);
  EXPECT_FALSE(fs::exists(folder_.File("Rally.SC$")));
  fs::permissions(ScorePath(), fs::perms::owner_write, fs::perm_options::add);
  EXPECT_TRUE(WriteScoreFile(table_, platform_, kPath)) << "writable again";
}

TEST_F(ScoreFile, AFolderThatCannotBeWrittenFailsQuietly) {
  fs::remove_all(folder_.root / "ADV");
  EXPECT_FALSE(WriteScoreFile(table_, platform_, kPath));
}

TEST(OverallResult, IsTheSumOfBestTotalsScaledByThePercentagePlusTheBonus) {
  ScoreTable t{};
  t.words[score::kPercentageWord] = 100;
  t.words[score::kLegScoreWord + score::kLegTotal] = 400;
  t.words[score::kLegScoreWord + 6 + score::kLegTotal] = 600;
  t.words[score::kLegScoreWord + 12 + score::kLegTotal] = 999;  // leg 3, beyond the count
  EXPECT_EQ(OverallResult(t, 2), 1000);
  t.words[score::kPercentageWord] = 110;
  t.words[score::kBonusPointsWord] = 50;
  EXPECT_EQ(OverallResult(t, 2), 1150);
  t.words[score::kPercentageWord] = 150;
  t.words[score::kBonusPointsWord] = 0;
  t.words[score::kLegScoreWord + score::kLegTotal] = 7;
  EXPECT_EQ(OverallResult(t, 1), 10) << "7 x 150 / 100, integer division";
}

TEST(OverallResult, DoesNotOverflowOnLargeTotals) {
  ScoreTable t{};
  t.words[score::kPercentageWord] = 200;
  for (int leg = 0; leg < 20; ++leg) {
    t.words[score::kLegScoreWord + 6 * leg + score::kLegTotal] = 100000000;
  }
  EXPECT_EQ(OverallResult(t, 20), INT32_MAX);
  // A score file can hold any percentage: the product of the sum and it
  // does not fit 64 bits, yet the result saturates on the right side.
  for (int32_t percentage : {INT32_MAX, INT32_MIN}) {
    t.words[score::kPercentageWord] = percentage;
    for (int leg = 0; leg < 20; ++leg) {
      t.words[score::kLegScoreWord + 6 * leg + score::kLegTotal] = INT32_MAX;
    }
    EXPECT_EQ(OverallResult(t, 20), percentage > 0 ? INT32_MAX : INT32_MIN);
  }
  t.words[score::kPercentageWord] = 150;
  t.words[score::kLegScoreWord + score::kLegTotal] = -7;
  EXPECT_EQ(OverallResult(t, 1), -10) << "-7 x 150 / 100 truncates toward zero";
}

}  // namespace
