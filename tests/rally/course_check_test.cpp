#include "rally/course/course_check.h"

#include <gtest/gtest.h>

#include "course_model/course_writer.h"
#include "tests/support/course_test_support.h"

namespace {

using namespace course;
using namespace course_test;
namespace src = course_model;

CourseCheck Check(const Bytes& image) {
  return CheckCourseImage(image.data(), static_cast<uint32_t>(image.size()));
}

uint32_t Size(const Bytes& image) {
  return static_cast<uint32_t>(image.size());
}

// A sound two-leg course with every record kind; each test damages one field.
class CourseCheckTest : public ::testing::Test {
 protected:
  Bytes image_ = LayOutCourse(FullCourse());

  void ExpectRejected(CourseProblem problem) const {
    CourseCheck check = Check(image_);
    EXPECT_EQ(check.problem, problem) << "got: " << DescribeCourseProblem(check.problem);
  }
};

TEST_F(CourseCheckTest, AcceptsTheUndamagedCourse) {
  CourseCheck check = Check(image_);
  EXPECT_EQ(check.problem, CourseProblem::kNone);
  EXPECT_EQ(check.entry, -1);
}

TEST_F(CourseCheckTest, RejectsAWrongMagic) {
  image_[1] = 'A';
  ExpectRejected(CourseProblem::kBadMagic);
  image_[1] = 'E';
  image_[10] = ' ';
  ExpectRejected(CourseProblem::kBadMagic);
  for (uint32_t size : {0u, 4u, 10u}) {
    EXPECT_EQ(Problem(Bytes(image_.begin(), image_.begin() + size)), CourseProblem::kBadMagic)
        << size << " bytes";
  }
}

TEST_F(CourseCheckTest, RejectsAHeaderUnder128Bytes) {
  EXPECT_EQ(Problem(Bytes(image_.begin(), image_.begin() + 11)), CourseProblem::kShortHeader);
  EXPECT_EQ(Problem(Bytes(image_.begin(), image_.begin() + 127)), CourseProblem::kShortHeader);
}

TEST_F(CourseCheckTest, RejectsATitleWithoutANulInItsFortyEightBytes) {
  std::fill(image_.begin() + kSecondTitle, image_.begin() + kSecondTitle + 47, 'x');
  EXPECT_EQ(Problem(image_), CourseProblem::kNone) << "47 letters and a NUL fit";
  image_[kSecondTitle + 47] = 'x';
  ExpectRejected(CourseProblem::kUnterminatedTitle);
  image_ = LayOutCourse(FullCourse());
  std::fill(image_.begin() + kFirstTitle, image_.begin() + kFirstTitle + 48, 'x');
  ExpectRejected(CourseProblem::kUnterminatedTitle);
}

TEST_F(CourseCheckTest, RejectsNegativeCounts) {
  for (uint32_t field : {kEntryCount, kLegCount, kQuestionCount}) {
    SCOPED_TRACE(field);
    image_ = LayOutCourse(FullCourse());
    SetWord(image_, field, -1);
    ExpectRejected(CourseProblem::kBadCount);
  }
}

TEST_F(CourseCheckTest, RejectsMoreLegsOrQuestionsThanTheScoreTableHolds) {
  SetWord(image_, kLegCount, 21);
  ExpectRejected(CourseProblem::kTooManyLegs);
  SetWord(image_, kLegCount, 2);
  SetWord(image_, kQuestionCount, 41);
  ExpectRejected(CourseProblem::kTooManyQuestions);
}

TEST_F(CourseCheckTest, RejectsAnEntryTableRunningPastTheEnd) {
  SetWord(image_, kEntryCount, static_cast<int32_t>((Size(image_) - kEntryTable) / 4 + 1));
  ExpectRejected(CourseProblem::kEntryTableOutside);
  SetWord(image_, kEntryCount, 0x7FFFFFFF);
  ExpectRejected(CourseProblem::kEntryTableOutside);
}

TEST_F(CourseCheckTest, RejectsAnEntryWhoseRecordLiesOutside) {
  SetWord(image_, kEntryTable + 4, static_cast<int32_t>(Size(image_) - 3));
  ExpectRejected(CourseProblem::kEntryOutside);
  EXPECT_EQ(Check(image_).entry, 1);
  SetWord(image_, kEntryTable + 4, -4);
  ExpectRejected(CourseProblem::kEntryOutside);
  // A type word inside, but the record it announces runs past the end.
  for (int32_t type : {kStartGate, kBonusObject}) {
    image_ = LayOutCourse(FullCourse());
    image_.resize(image_.size() + 8, 0);
    SetWord(image_, Size(image_) - 8, type);
    SetWord(image_, kEntryTable + 8, static_cast<int32_t>(Size(image_) - 8));
    ExpectRejected(CourseProblem::kEntryOutside);
  }
}

TEST_F(CourseCheckTest, RejectsAStartGateAtEntryTwentyButNotABonusObject) {
  src::Course course = FullCourse();
  course.legs.resize(20, course.legs[0]);
  image_ = LayOutCourse(course);
  EXPECT_EQ(Problem(image_), CourseProblem::kNone) << "a bonus object at entry 20 is fine";
  SetWord(image_, kEntryTable + 4 * 20, static_cast<int32_t>(EntryOffset(image_, 0)));
  ExpectRejected(CourseProblem::kLegIndexTooHigh);
  EXPECT_EQ(Check(image_).entry, 20);
}

TEST_F(CourseCheckTest, RejectsAnUnknownRecordTypeInALeg) {
  uint32_t at = FindRecord(image_, 1, kTrackEnd);
  for (int32_t type : {0, 12, -1}) {
    SetWord(image_, at, type);
    ExpectRejected(CourseProblem::kUnknownRecordType);
    CourseCheck check = Check(image_);
    EXPECT_EQ(check.offset, at);
    EXPECT_EQ(check.entry, 1);
  }
}

TEST_F(CourseCheckTest, RejectsAStartGateOrBonusObjectInsideALeg) {
  uint32_t at = FindRecord(image_, 0, kTrackEnd);
  SetWord(image_, at, kStartGate);
  ExpectRejected(CourseProblem::kMisplacedRecord);
  SetWord(image_, at, kBonusObject);
  ExpectRejected(CourseProblem::kMisplacedRecord);
}

// The bare course ends with its LegEnd, so cutting it short leaves the leg
// without one.
TEST_F(CourseCheckTest, RejectsALegRunningPastTheEnd) {
  Bytes bare = LayOutCourse(BareCourse());
  EXPECT_EQ(Problem(Bytes(bare.begin(), bare.end() - 4)), CourseProblem::kRecordOutside);
  EXPECT_EQ(Problem(Bytes(bare.begin(), bare.end() - 16)), CourseProblem::kNoLegEnd);
  EXPECT_EQ(Problem(Bytes(bare.begin(), bare.end() - 12)), CourseProblem::kRecordOutside);
}

TEST_F(CourseCheckTest, RejectsATextOrVoiceOffsetOutsideTheBlock) {
  const Bytes sound = image_;
  std::vector<uint32_t> fields = TextFields(sound);
  ASSERT_EQ(fields.size(), 2 * 9 + 4u) << "every text field of both legs and the question";
  for (uint32_t field : fields) {
    for (int32_t offset : {static_cast<int32_t>(Size(sound)), -1, 0x7FFFFFFF}) {
      SCOPED_TRACE(testing::Message() << "field " << field << " = " << offset);
      image_ = sound;
      SetWord(image_, field, offset);
      ExpectRejected(CourseProblem::kTextOutside);
      EXPECT_EQ(Check(image_).offset, field);
    }
  }
}

TEST_F(CourseCheckTest, RejectsATextWithoutANulBeforeTheEnd) {
  image_.insert(image_.end(), {'a', 'b', 'c'});
  const Bytes sound = image_;
  for (uint32_t field : TextFields(sound)) {
    SCOPED_TRACE(field);
    image_ = sound;
    SetWord(image_, field, static_cast<int32_t>(Size(sound) - 3));
    ExpectRejected(CourseProblem::kUnterminatedText);
  }
}

// Only a take counter indexes the score table; a collectible's name slot
// outside it merely leaves the name unremembered.
TEST_F(CourseCheckTest, RejectsTakeCounterSlotsOutsideTheScoreTableButAcceptsAnyNameSlot) {
  const Bytes sound = image_;
  uint32_t name = FindRecord(sound, 1, kCollectible) + collectible::kNameSlot;
  uint32_t counter = EntryOffset(sound, 2) + bonus_object::kCounterSlot;
  for (int32_t slot : {20, -1, 19, INT32_MIN, INT32_MAX}) {
    bool inside = slot == 19;
    image_ = sound;
    SetWord(image_, counter, slot);
    EXPECT_EQ(Problem(image_), inside ? CourseProblem::kNone : CourseProblem::kSlotOutOfRange)
        << "counter slot " << slot;
    image_ = sound;
    SetWord(image_, name, slot);
    EXPECT_EQ(Problem(image_), CourseProblem::kNone) << "name slot " << slot;
  }
}

TEST_F(CourseCheckTest, RejectsAQuizTableOutsideTheBlock) {
  SetWord(image_, kQuizTableOffset, static_cast<int32_t>(Size(image_) - 19));
  ExpectRejected(CourseProblem::kQuizTableOutside);
  SetWord(image_, kQuizTableOffset, -20);
  ExpectRejected(CourseProblem::kQuizTableOutside);
  SetWord(image_, kQuizTableOffset, 0);
  SetWord(image_, kQuestionCount, 0);
  EXPECT_EQ(Problem(image_), CourseProblem::kNone) << "no questions, no table to check";
}

TEST_F(CourseCheckTest, AcceptsACourseWithoutEntries) {
  Bytes header = LayOutCourse(src::Course{});
  EXPECT_EQ(header.size(), kHeaderBytes);
  EXPECT_EQ(Problem(header), CourseProblem::kNone);
}

TEST_F(CourseCheckTest, AcceptsOffsetZeroForEveryText) {
  for (uint32_t field : TextFields(image_)) SetWord(image_, field, 0);
  EXPECT_EQ(Problem(image_), CourseProblem::kNone);
}

TEST_F(CourseCheckTest, IgnoresEntriesOfOtherTypes) {
  uint32_t bonus = EntryOffset(image_, 2);
  SetWord(image_, kEntryTable + 8, static_cast<int32_t>(FindRecord(image_, 0, kMessageRecord)));
  EXPECT_EQ(Problem(image_), CourseProblem::kNone);
  SetWord(image_, bonus, 99);  // a record the loader does not know, alone in its entry
  SetWord(image_, kEntryTable + 8, static_cast<int32_t>(bonus));
  EXPECT_EQ(Problem(image_), CourseProblem::kNone);
  image_.resize(image_.size() + 4, 0);
  SetWord(image_, Size(image_) - 4, 0x12345678);  // only its type word lies inside
  SetWord(image_, kEntryTable + 8, static_cast<int32_t>(Size(image_) - 4));
  EXPECT_EQ(Problem(image_), CourseProblem::kNone);
}

}  // namespace
