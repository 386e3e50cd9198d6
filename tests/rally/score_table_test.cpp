#include "rally/course/score_table.h"

#include <gtest/gtest.h>

#include "tests/support/course_test_support.h"

namespace {

using namespace course_test;
using namespace score;

constexpr char kScorePath[] = "ADV\\RALLY\\Rally.SCO";

class ScoreTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_ = CountedPlatform(heap_, folder_.files);
    // Left over from an earlier read, so that a missed field shows.
    for (auto& word : table_.words) word = 7;
    table_.unasked_count = 7;
    table_.wrong_count = 7;
  }
  void TearDown() override { ReleaseNamePool(table_, platform_); }

  void Read(int32_t question_count = 3) {
    ReadScoreFile(table_, platform_, kScorePath, question_count);
  }
  void ExpectNoNames() const {
    for (int32_t slot = 0; slot < kNameSlots; ++slot) {
      EXPECT_EQ(NameSlot(table_, slot), nullptr) << "slot " << slot;
    }
  }
  void ExpectDefaults(int32_t question_count) const {
    EXPECT_EQ(ScorePercentage(table_), 100);
    for (uint32_t word = 1; word < kBlockWords; ++word) {
      EXPECT_EQ(table_.words[word], 0) << "word " << word;
    }
    ExpectNoNames();
    EXPECT_EQ(table_.unasked_count, question_count);
    EXPECT_EQ(table_.wrong_count, 0);
  }

  TempSimFolder folder_;
  CountingHeap heap_;
  PlatformOps platform_{};
  ScoreTable table_{};
};

TEST_F(ScoreTableTest, AMissingFileGivesTheDefaults) {
  Read(5);
  ExpectDefaults(5);
  EXPECT_EQ(heap_.allocations, 0);
}

TEST_F(ScoreTableTest, AFileShorterThanTheBlockIsTreatedAsMissing) {
  Bytes file = ScoreFile({{0, 85}, {1, 40}});
  file.pop_back();
  folder_.WriteBytes("Rally.SCO", file);
  Read(5);
  ExpectDefaults(5);
}

TEST_F(ScoreTableTest, TheBlockAloneGivesItsValuesAndTwentyEmptySlots) {
  folder_.WriteBytes("Rally.SCO", ScoreFile({{kPercentageWord, 85},
                                             {kBonusPointsWord, 1234},
                                             {kTakeCounterWord + 3, 2},
                                             {kTakeCounterWord + 19, 5},
                                             {kQuizStateWord + 39, kQuizAsked},
                                             {kLegScoreWord + 6 * 4 + 2, -30},
                                             {kLegScoreWord + 6 * 4 + kLegTotal, 777},
                                             {kBlockWords - 1, 11}}));
  Read(0);
  EXPECT_EQ(ScorePercentage(table_), 85);
  EXPECT_EQ(ScoreBonusPoints(table_), 1234);
  EXPECT_EQ(TakeCounter(table_, 3), 2);
  EXPECT_EQ(TakeCounter(table_, 19), 5);
  EXPECT_EQ(TakeCounter(table_, 4), 0);
  EXPECT_EQ(QuizState(table_, 39), kQuizAsked);
  EXPECT_EQ(BestLegValue(table_, 4, 2), -30);
  EXPECT_EQ(BestLegTotal(table_, 4), 777);
  EXPECT_EQ(BestLegTotal(table_, 19), 11);
  ExpectNoNames();
  EXPECT_EQ(heap_.allocations, 0) << "no names, no pool";
}

TEST_F(ScoreTableTest, TwentyEmptyNamesLeaveEverySlotEmpty) {
  Bytes file = ScoreFile({{0, 90}}, std::vector<std::string>(20, ""));
  ASSERT_EQ(file.size(), 748u);
  folder_.WriteBytes("Rally.SCO", file);
  Read();
  EXPECT_EQ(ScorePercentage(table_), 90);
  ExpectNoNames();
}

TEST_F(ScoreTableTest, NamesAreReadBackIntoTheirSlots) {
  std::vector<std::string> names = {"Alfa", "", "Charlie"};
  for (int i = 3; i < 21; ++i) names.push_back("Nome " + std::to_string(i));
  names[19] = "Citt\xE0";
  folder_.WriteBytes("Rally.SCO", ScoreFile({}, names));
  Read();
  EXPECT_STREQ(NameSlot(table_, 0), "Alfa");
  EXPECT_EQ(NameSlot(table_, 1), nullptr);
  EXPECT_STREQ(NameSlot(table_, 2), "Charlie");
  EXPECT_STREQ(NameSlot(table_, 18), "Nome 18");
  EXPECT_STREQ(NameSlot(table_, 19), "Citt\xE0") << "the 21st name has no slot";
}

TEST_F(ScoreTableTest, SlotsBeyondTheNamesInTheFileAreEmpty) {
  folder_.WriteBytes("Rally.SCO", ScoreFile({}, {"Alfa", "Bravo"}));
  Read();
  EXPECT_STREQ(NameSlot(table_, 1), "Bravo");
  for (int32_t slot = 2; slot < kNameSlots; ++slot) EXPECT_EQ(NameSlot(table_, slot), nullptr);
}

TEST_F(ScoreTableTest, APoolWithoutItsFinalNulEndsSafely) {
  Bytes file = ScoreFile({}, {"Alfa", "Bravo"});
  file.pop_back();
  folder_.WriteBytes("Rally.SCO", file);
  Read();
  EXPECT_STREQ(NameSlot(table_, 0), "Alfa");
  EXPECT_STREQ(NameSlot(table_, 1), "Bravo");
  EXPECT_EQ(NameSlot(table_, 2), nullptr);
}

TEST_F(ScoreTableTest, WithoutMemoryForTheNamesTheBlockStillCounts) {
  folder_.WriteBytes("Rally.SCO", ScoreFile({{0, 85}}, {"Alfa"}));
  heap_.refuse = true;
  Read();
  EXPECT_EQ(ScorePercentage(table_), 85);
  ExpectNoNames();
  EXPECT_EQ(table_.name_pool, nullptr);
}

TEST_F(ScoreTableTest, AWriteThroughTheCountedHeapReadsBack) {
  folder_.WriteBytes("Rally.SCO", ScoreFile({{kPercentageWord, 85}}, {"Alfa"}));
  Read();
  table_.words[kBonusPointsWord] = 40;
  table_.name_slots[2] = "Charlie";
  ASSERT_TRUE(WriteScoreFile(table_, platform_, kScorePath));
  Read();
  EXPECT_EQ(ScorePercentage(table_), 85);
  EXPECT_EQ(ScoreBonusPoints(table_), 40);
  EXPECT_STREQ(NameSlot(table_, 0), "Alfa");
  EXPECT_STREQ(NameSlot(table_, 2), "Charlie");
  EXPECT_EQ(heap_.allocations, heap_.frees + 1) << "only the pool of the last read is held";
}

TEST_F(ScoreTableTest, QuizCountsLookOnlyAtTheCoursesQuestions) {
  folder_.WriteBytes("Rally.SCO", ScoreFile({{kQuizStateWord + 0, kQuizAsked},
                                             {kQuizStateWord + 1, kQuizAsked | kQuizWrong},
                                             {kQuizStateWord + 2, kQuizWrong},  // never asked
                                             {kQuizStateWord + 3, kQuizAsked | kQuizWrong},
                                             {kQuizStateWord + 39, kQuizAsked}}));
  Read(3);
  EXPECT_EQ(table_.unasked_count, 1);
  EXPECT_EQ(table_.wrong_count, 1);
  Read(4);
  EXPECT_EQ(table_.unasked_count, 1);
  EXPECT_EQ(table_.wrong_count, 2);
  Read(0);
  EXPECT_EQ(table_.unasked_count, 0);
  EXPECT_EQ(table_.wrong_count, 0);
}

TEST_F(ScoreTableTest, AnotherReadReleasesThePreviousNames) {
  folder_.WriteBytes("Rally.SCO", ScoreFile({}, {"Alfa"}));
  Read();
  ASSERT_EQ(heap_.allocations, 1);
  folder_.WriteBytes("Rally.SCO", ScoreFile({}, {"Bravo", "Delta"}));
  Read();
  EXPECT_EQ(heap_.frees, 1);
  EXPECT_EQ(heap_.allocations, 2);
  EXPECT_STREQ(NameSlot(table_, 1), "Delta");
  std::filesystem::remove(folder_.Path("Rally.SCO"));
  Read();
  EXPECT_EQ(heap_.frees, 2);
  ExpectNoNames();
  ReleaseNamePool(table_, platform_);
  EXPECT_EQ(heap_.frees, 2) << "nothing left to release";
}

}  // namespace
