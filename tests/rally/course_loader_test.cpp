#include "rally/module/course_loader.h"

#include <gtest/gtest.h>

#include <memory>

#include "course_model/course_writer.h"
#include "examples/compiled_sample_course.h"
#include "rally/state/module.h"
#include "tests/support/course_test_support.h"

namespace {

using namespace course;
using namespace course_test;

// A fresh module whose files live in a temporary simulator folder and whose
// heap is counted.
class CourseLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { m_->platform = CountedPlatform(heap_, folder_.files); }
  void TearDown() override {
    ReleaseNamePool(m_->scores, m_->platform);
    if (m_->course.block != nullptr)
      m_->platform.free_block(m_->platform.context, m_->course.block);
  }

  void WriteCourse(Bytes plain) const {
    ScrambleWords(plain.data(), static_cast<uint32_t>(plain.size()));
    folder_.WriteBytes("Rally.DAT", plain);
  }
  Bytes LoadedBlock() const { return Bytes(m_->course.block, m_->course.block + m_->course.size); }
  void ExpectNoCourse() const {
    EXPECT_FALSE(HasCourse(m_->course));
    EXPECT_STREQ(m_->course.path, "ADV\\RALLY\\Rally.DAT") << "no score path without a course";
  }

  TempSimFolder folder_;
  CountingHeap heap_;
  std::unique_ptr<RallyModule> m_ = std::make_unique<RallyModule>();
};

TEST_F(CourseLoaderTest, LoadsTheSampleCourseUnscrambled) {
  WriteCourse(LayOutCourse(SampleCourse()));
  ASSERT_TRUE(LoadCourse(*m_));
  EXPECT_EQ(LoadedBlock(), LayOutCourse(SampleCourse()));
  EXPECT_EQ(CourseLegCount(m_->course), 2);
  EXPECT_EQ(::RecordType(CourseEntry(m_->course, 1)), kStartGate);
  EXPECT_EQ(heap_.allocations, 1) << "the course block; no score file, no name pool";
  EXPECT_EQ(heap_.frees, 0);
}

TEST_F(CourseLoaderTest, AMissingFileGivesNoCourseAndTakesNoMemory) {
  EXPECT_FALSE(LoadCourse(*m_));
  ExpectNoCourse();
  EXPECT_EQ(heap_.allocations, 0);
}

TEST_F(CourseLoaderTest, OutOfMemoryGivesNoCourseAndFreesNothing) {
  WriteCourse(LayOutCourse(SampleCourse()));
  heap_.refuse = true;
  EXPECT_FALSE(LoadCourse(*m_));
  ExpectNoCourse();
  EXPECT_EQ(heap_.allocations, 1);
  EXPECT_EQ(heap_.frees, 0);
}

TEST_F(CourseLoaderTest, ARejectedCourseFreesItsBlock) {
  Bytes plain = LayOutCourse(SampleCourse());
  plain[10] = 'X';
  WriteCourse(plain);
  folder_.WriteBytes("Rally.SCO", ScoreFile({{0, 85}}));
  EXPECT_FALSE(LoadCourse(*m_));
  ExpectNoCourse();
  EXPECT_EQ(heap_.allocations, 1);
  EXPECT_EQ(heap_.frees, 1);
  EXPECT_NE(ScorePercentage(m_->scores), 85) << "the score file is not read";

  plain = LayOutCourse(SampleCourse());
  SetWord(plain, FindRecord(plain, 1, kLegEnd), kTrackEnd);  // the leg runs on into junk
  WriteCourse(plain);
  EXPECT_FALSE(LoadCourse(*m_));
  ExpectNoCourse();
  EXPECT_EQ(heap_.allocations, 2);
  EXPECT_EQ(heap_.frees, 2);
}

TEST_F(CourseLoaderTest, FilesTooShortForAWordAreRejectedAndFreed) {
  folder_.WriteBytes("Rally.DAT", {});
  EXPECT_FALSE(LoadCourse(*m_));
  EXPECT_EQ(heap_.allocations, 0) << "nothing to read";
  folder_.WriteBytes("Rally.DAT", {'V', 'E', 'S'});
  EXPECT_FALSE(LoadCourse(*m_));
  ExpectNoCourse();
  EXPECT_EQ(heap_.allocations, 1);
  EXPECT_EQ(heap_.frees, 1);
}

TEST_F(CourseLoaderTest, TheBytesAfterTheLastWholeWordArePlain) {
  Bytes plain = LayOutCourse(SampleCourse());
  plain.resize((plain.size() + 3) / 4 * 4, 0);
  plain.insert(plain.end(), {'x', 'y', 'z'});
  WriteCourse(plain);
  ASSERT_TRUE(LoadCourse(*m_));
  EXPECT_EQ(m_->course.size, plain.size());
  EXPECT_EQ(LoadedBlock(), plain);
}

TEST_F(CourseLoaderTest, ACourseWithoutEntriesLoads) {
  WriteCourse(LayOutCourse(course_model::Course{}));
  ASSERT_TRUE(LoadCourse(*m_));
  EXPECT_EQ(CourseEntryCount(m_->course), 0);
  EXPECT_EQ(m_->course.size, kHeaderBytes);
}

TEST_F(CourseLoaderTest, ReadsTheScoreFileBesideTheCourse) {
  WriteCourse(LayOutCourse(SampleCourse()));
  folder_.WriteBytes("Rally.SCO", ScoreFile({{0, 85}, {score::kQuizStateWord + 1, 1}}, {"Alfa"}));
  ASSERT_TRUE(LoadCourse(*m_));
  EXPECT_STREQ(m_->course.path, "ADV\\RALLY\\Rally.SCO");
  EXPECT_EQ(ScorePercentage(m_->scores), 85);
  EXPECT_STREQ(NameSlot(m_->scores, 0), "Alfa");
  EXPECT_EQ(m_->scores.unasked_count, 2) << "three questions, one asked";
}

TEST_F(CourseLoaderTest, WithoutAScoreFileTheScoresAreDefaults) {
  WriteCourse(LayOutCourse(SampleCourse()));
  m_->scores.words[score::kBonusPointsWord] = 99;
  ASSERT_TRUE(LoadCourse(*m_));
  EXPECT_STREQ(m_->course.path, "ADV\\RALLY\\Rally.SCO");
  EXPECT_EQ(ScorePercentage(m_->scores), 100);
  EXPECT_EQ(ScoreBonusPoints(m_->scores), 0);
  EXPECT_EQ(m_->scores.unasked_count, 3);
}

}  // namespace
