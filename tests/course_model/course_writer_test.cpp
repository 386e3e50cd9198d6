#include "course_model/course_writer.h"
#include "examples/compiled_sample_course.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>

#include "tests/support/course_test_support.h"

namespace {

using namespace course;
using namespace course_test;
namespace src = course_model;

// Expects each {field, value} of the record at `at`.
void ExpectFields(const Bytes& image, uint32_t at,
                  std::initializer_list<std::pair<uint32_t, int32_t>> fields) {
  for (const auto& [field, value] : fields) {
    EXPECT_EQ(Word(image, at + field), value) << "record at " << at << ", field " << field;
  }
}

std::string RefusalOf(const src::Course& course) {
  try {
    LayOutCourse(course);
  } catch (const std::invalid_argument& e) {
    return e.what();
  }
  ADD_FAILURE() << "the course was laid out";
  return "";
}

TEST(CourseWriter, EveryLaidOutImagePassesTheLoadCheck) {
  for (const src::Course& course : {BareCourse(), FullCourse(), SampleCourse()}) {
    SCOPED_TRACE(course.first_title);
    Bytes image = LayOutCourse(course);
    CourseCheck check = CheckCourseImage(image.data(), static_cast<uint32_t>(image.size()));
    EXPECT_EQ(check.problem, CourseProblem::kNone)
        << DescribeCourseProblem(check.problem) << " at " << check.offset;
  }
}

TEST(CourseWriter, HeaderHoldsTheMagicTitlesAndCounts) {
  Bytes image = LayOutCourse(FullCourse());
  EXPECT_EQ(std::memcmp(image.data(), "VESK RALLY\0\0\0\0\0\0", 16), 0);
  EXPECT_EQ(TextAt(image, kFirstTitle), "Primo");
  EXPECT_EQ(TextAt(image, kSecondTitle), "Secondo");
  EXPECT_EQ(image[kSecondTitle - 1], 0) << "the first title is padded with NULs";
  EXPECT_EQ(Word(image, kEntryCount), 3);
  EXPECT_EQ(Word(image, kLegCount), 2);
  EXPECT_EQ(Word(image, kQuestionCount), 1);
}

TEST(CourseWriter, LegStreamsFollowTheEntryTableThenBonusObjectsQuizAndTexts) {
  Bytes image = LayOutCourse(FullCourse());
  uint32_t leg_bytes = 40 + 16 + 52 + 40 + 28 + 4 + 20 + 8 + 40 + 16;
  EXPECT_EQ(EntryOffset(image, 0), kEntryTable + 3 * 4);
  EXPECT_EQ(EntryOffset(image, 1), EntryOffset(image, 0) + leg_bytes);
  EXPECT_EQ(EntryOffset(image, 2), EntryOffset(image, 1) + leg_bytes);
  EXPECT_EQ(Word(image, EntryOffset(image, 2)), kBonusObject);
  EXPECT_EQ(static_cast<uint32_t>(Word(image, kQuizTableOffset)), EntryOffset(image, 2) + 88);
  std::vector<int32_t> types;
  for (uint32_t at : LegRecords(image, 1)) types.push_back(Word(image, at));
  EXPECT_EQ(types, (std::vector<int32_t>{kStartGate, kMessageRecord, kGate, kWaypoint, kTrackStart,
                                         kTrackEnd, kCollectible, kQuizTimer, kLanding, kLegEnd}));
  uint32_t texts = static_cast<uint32_t>(Word(image, kQuizTableOffset)) + 20;
  EXPECT_EQ(TextAt(image, static_cast<int32_t>(texts)), "Benvenuti") << "the first text met";
}

TEST(CourseWriter, EveryRecordFieldLandsAtItsOffset) {
  Bytes image = LayOutCourse(FullCourse());
  ExpectFields(image, EntryOffset(image, 0),
               {{4, 10},
                {8, 20},
                {12, 30},
                {16, 40},
                {20, 300},
                {24, 100},
                {28, 7680},
                {32, 25600},
                {36, 49152}});
  ExpectFields(image, FindRecord(image, 0, kMessageRecord), {{4, 8}});
  ExpectFields(image, FindRecord(image, 0, kGate),
               {{4, 11},
                {8, 21},
                {12, 31},
                {16, 41},
                {20, 400},
                {24, 150},
                {28, 10240},
                {32, 23040},
                {36, 0},
                {40, 0}});
  ExpectFields(image, FindRecord(image, 0, kWaypoint),
               {{4, 50}, {8, 60}, {12, 500}, {16, 450}, {20, 200}, {24, 65536}, {28, 0}});
  ExpectFields(image, FindRecord(image, 0, kTrackStart),
               {{4, 70}, {8, 80}, {12, 32768}, {16, 1820}, {20, 10}, {24, 1}});
  ExpectFields(image, FindRecord(image, 0, kCollectible), {{4, 19}, {8, 50}, {12, 0}});
  ExpectFields(image, FindRecord(image, 0, kQuizTimer), {{4, 20}});
  ExpectFields(image, FindRecord(image, 0, kLanding),
               {{4, 12}, {8, 22}, {12, 32}, {16, 42}, {20, 44}, {24, 0}, {28, 0}});
  ExpectFields(image, FindRecord(image, 0, kLegEnd), {{4, 500}, {8, 900}, {12, 2}});
  ExpectFields(image, static_cast<uint32_t>(Word(image, kQuizTableOffset)), {{16, 10}});

  uint32_t message = FindRecord(image, 0, kMessageRecord);
  EXPECT_EQ(TextAt(image, Word(image, message + 8)), "Benvenuti");
  EXPECT_EQ(TextAt(image, Word(image, message + 12)), "ADV\\RALLY\\Start");
  EXPECT_EQ(TextAt(image, Word(image, FindRecord(image, 0, kGate) + 44)), "Porta mancata");
  EXPECT_EQ(TextAt(image, Word(image, FindRecord(image, 0, kWaypoint) + 36)), "ADV\\RALLY\\Point");
  EXPECT_EQ(TextAt(image, Word(image, FindRecord(image, 0, kLanding) + 32)), "Atterrate");
  EXPECT_EQ(TextAt(image, Word(image, FindRecord(image, 0, kCollectible) + 16)), "Faro");
  uint32_t quiz = static_cast<uint32_t>(Word(image, kQuizTableOffset));
  EXPECT_EQ(TextAt(image, Word(image, quiz + 0)), "Domanda?");
  EXPECT_EQ(TextAt(image, Word(image, quiz + 4)), "Giusta");
  EXPECT_EQ(TextAt(image, Word(image, quiz + 8)), "Seconda");
  EXPECT_EQ(TextAt(image, Word(image, quiz + 12)), "Terza");
}

TEST(CourseWriter, BonusObjectFieldsLandAtTheirOffsets) {
  src::Course course = BareCourse();
  course.bonus_objects = {
      {1, 2, 3, {4, 5, 6, 7}, {8, 9, 10, 11}, {12, 13, 14, 15}, 16, 17, 18, 19, 20, 21}};
  Bytes image = LayOutCourse(course);
  uint32_t at = EntryOffset(image, 1);
  EXPECT_EQ(Word(image, at), kBonusObject);
  for (uint32_t field = 4; field < 88; field += 4) {
    EXPECT_EQ(Word(image, at + field), static_cast<int32_t>(field / 4)) << "field " << field;
  }
}

TEST(CourseWriter, EachDistinctTextIsStoredOnceAndEmptyTextsAreNone) {
  src::Course course = FullCourse();
  std::get<src::Message>(course.legs[1].records[0]).text = "Porta mancata";  // the gate's text
  std::get<src::Waypoint>(course.legs[1].records[2]).warning_voice = "";
  course.questions[0].third = "\xE8 cos\xEC";
  Bytes image = LayOutCourse(course);

  std::vector<uint32_t> fields = TextFields(image);
  std::set<int32_t> offsets;
  std::set<std::string> texts;
  for (uint32_t field : fields) {
    int32_t offset = Word(image, field);
    if (offset == 0) continue;
    offsets.insert(offset);
    texts.insert(TextAt(image, offset));
  }
  EXPECT_EQ(offsets.size(), texts.size()) << "one offset per distinct text";
  EXPECT_EQ(Word(image, FindRecord(image, 1, kMessageRecord) + 8),
            Word(image, FindRecord(image, 0, kGate) + 44));
  EXPECT_EQ(Word(image, FindRecord(image, 1, kWaypoint) + 36), 0);
  EXPECT_NE(Word(image, FindRecord(image, 0, kWaypoint) + 36), 0);
  uint32_t quiz = static_cast<uint32_t>(Word(image, kQuizTableOffset));
  EXPECT_EQ(TextAt(image, Word(image, quiz + 12)), "\xE8 cos\xEC");
  // Nothing follows the quiz table but the distinct texts, once each.
  EXPECT_EQ(
      image.size(), quiz + 20 + [&] {
        size_t bytes = 0;
        for (const std::string& t : texts) bytes += t.size() + 1;
        return bytes;
      }());
}

TEST(CourseWriter, ACourseWithoutQuestionsHasNoQuizTable) {
  Bytes image = LayOutCourse(BareCourse());
  EXPECT_EQ(Word(image, kQuizTableOffset), 0);
  EXPECT_EQ(image.size(), kHeaderBytes + 4 + 40 + 16u);
}

TEST(CourseWriter, RefusesTitlesThatLeaveNoRoomForTheirNul) {
  src::Course course = BareCourse();
  course.first_title = std::string(47, 'a');
  course.second_title = std::string(47, 'b');
  EXPECT_EQ(TextAt(LayOutCourse(course), kFirstTitle), std::string(47, 'a'));
  course.second_title += "b";
  EXPECT_NE(RefusalOf(course).find("second title is 48 bytes"), std::string::npos)
      << RefusalOf(course);
  course.second_title = "";
  course.first_title = std::string("Rally\0", 6);
  EXPECT_NE(RefusalOf(course).find("first title contains a NUL"), std::string::npos);
}

TEST(CourseWriter, RefusesMoreLegsOrQuestionsThanTheScoreTableHolds) {
  src::Course course = BareCourse();
  course.legs.resize(20, course.legs[0]);
  course.questions.resize(40, {"D", "A", "B", "C", 1});
  EXPECT_EQ(Problem(LayOutCourse(course)), CourseProblem::kNone);
  course.legs.push_back(course.legs[0]);
  EXPECT_NE(RefusalOf(course).find("21 legs"), std::string::npos) << RefusalOf(course);
  course.legs.pop_back();
  course.questions.push_back(course.questions[0]);
  EXPECT_NE(RefusalOf(course).find("41 quiz questions"), std::string::npos) << RefusalOf(course);
}

TEST(CourseWriter, RefusesTakeCounterSlotsAndEntryOrdersTheModuleRefuses) {
  src::Course course = FullCourse();
  course.bonus_objects.push_back(course.bonus_objects[0]);
  course.bonus_objects[1].counter_slot = 20;
  EXPECT_EQ(RefusalOf(course), "course, bonus object 2: take-counter slot 20 is outside 0 to 19");
  course.bonus_objects.pop_back();
  using Slot = src::EntrySlot;
  const struct {
    std::vector<Slot> order;
    const char* refusal;
  } kOrders[] = {
      {{{Slot::kLeg, 0}, {Slot::kLeg, 1}, {Slot::kBonusObject, 0}}, ""},
      {{{Slot::kBonusObject, 0}, {Slot::kIgnored, 0}, {Slot::kLeg, 1}, {Slot::kLeg, 0}}, ""},
      {{{Slot::kLeg, 0}, {Slot::kLeg, 0}, {Slot::kBonusObject, 0}},
       "course, entry order: leg 1 is listed twice"},
      {{{Slot::kLeg, 0}, {Slot::kBonusObject, 0}}, "course, entry order: leg 2 is not listed"},
      {{{Slot::kLeg, 0}, {Slot::kLeg, 1}, {Slot::kBonusObject, 1}},
       "course, entry order: bonus object 2 does not exist"},
  };
  for (const auto& c : kOrders) {
    course.entry_order = c.order;
    if (*c.refusal == '\0') {
      EXPECT_EQ(Problem(LayOutCourse(course)), CourseProblem::kNone);
    } else {
      EXPECT_EQ(RefusalOf(course), c.refusal);
    }
  }
  course.entry_order.assign(20, Slot{Slot::kIgnored, 0});
  course.entry_order.push_back({Slot::kLeg, 0});
  course.entry_order.push_back({Slot::kLeg, 1});
  course.entry_order.push_back({Slot::kBonusObject, 0});
  EXPECT_EQ(RefusalOf(course),
            "course, entry order: leg 1 at entry 21: only entries 1 to 20 have a score record");
}

// Values the engine copes with are written as they are; the checker of
// the course tools points them out.
TEST(CourseWriter, WritesOddSlotsAndSelectorsAsTheyAreButRefusesTextsWithANul) {
  src::Course course = FullCourse();
  std::get<src::Collectible>(course.legs[1].records[5]).name_slot = 20;
  std::get<src::TrackStart>(course.legs[0].records[3]).near_zone = 3;
  EXPECT_EQ(Problem(LayOutCourse(course)), CourseProblem::kNone);
  course.questions[0].second = std::string("A\0B", 3);
  EXPECT_NE(RefusalOf(course).find("quiz question 1: second answer contains a NUL"),
            std::string::npos)
      << RefusalOf(course);
}

TEST(CourseWriter, TheFileIsTheScrambledLayout) {
  Bytes image = LayOutCourse(SampleCourse());
  ScrambleWords(image.data(), static_cast<uint32_t>(image.size()));
  EXPECT_EQ(EncodeCourseFile(SampleCourse()), image);

  TempSimFolder folder;
  ASSERT_TRUE(WriteCourseFile(folder.Path("Rally.DAT"), SampleCourse()));
  std::ifstream in(folder.Path("Rally.DAT"), std::ios::binary);
  EXPECT_EQ(Bytes(std::istreambuf_iterator<char>(in), {}), image);
  EXPECT_FALSE(WriteCourseFile(folder.Path("missing/Rally.DAT"), SampleCourse()));
}

// The sample course as the demo and the tests rely on it.
class SampleCourseImage : public ::testing::Test {
 protected:
  Bytes image_ = LayOutCourse(SampleCourse());

  std::vector<int32_t> Types(int32_t leg) const {
    std::vector<int32_t> types;
    for (uint32_t at : LegRecords(image_, leg)) types.push_back(Word(image_, at));
    return types;
  }
  bool BoxHolds(uint32_t record, uint32_t box, int32_t lat, int32_t lon) const {
    return Word(image_, record + box) <= lat && lat <= Word(image_, record + box + 4) &&
           Word(image_, record + box + 8) <= lon && lon <= Word(image_, record + box + 12);
  }
};

TEST_F(SampleCourseImage, HasTwoLegsABonusObjectAndThreeQuestions) {
  EXPECT_EQ(Word(image_, kLegCount), 2);
  EXPECT_GE(Word(image_, kEntryCount), 3);
  EXPECT_EQ(Word(image_, EntryOffset(image_, 2)), kBonusObject);
  EXPECT_EQ(Word(image_, kQuestionCount), 3);
  EXPECT_EQ(Types(0), (std::vector<int32_t>{kStartGate, kMessageRecord, kGate, kWaypoint,
                                            kCollectible, kQuizTimer, kWaypoint, kTrackStart,
                                            kLanding, kTrackEnd, kLegEnd}));
  std::vector<int32_t> second = Types(1);
  EXPECT_NE(std::find(second.begin(), second.end(), kGate), second.end());
  EXPECT_EQ(second.end()[-2], kLanding);
  EXPECT_NE(Word(image_, FindRecord(image_, 0, kMessageRecord) + 12), 0) << "it has a voice";
}

TEST_F(SampleCourseImage, StartsWestOfRalliestBaseAndLandsOnTheAirfields) {
  const int32_t ralliest_lat = 0x002CB9F3, ralliest_lon = 0x79457C16;
  uint32_t start = EntryOffset(image_, 0);
  EXPECT_LE(Word(image_, start + 4), ralliest_lat);
  EXPECT_GE(Word(image_, start + 8), ralliest_lat);
  EXPECT_LT(Word(image_, start + 16), ralliest_lon) << "west of the base";
  EXPECT_GT(Word(image_, start + 16), ralliest_lon - 3000 * 120) << "within 3 km";
  EXPECT_EQ(Word(image_, start + 36), 0xC000) << "heading west";
  EXPECT_GT(Word(image_, start + 20) - Word(image_, start + 24), 44) << "airborne";
  EXPECT_TRUE(BoxHolds(FindRecord(image_, 0, kLanding), 4, 0x002CECB1, 0x79457E46))
      << "Kestrin's Municipal";
  EXPECT_TRUE(BoxHolds(EntryOffset(image_, 1), 4, 0x002CECB1 + 600, 0x79457E46 + 900 * 120))
      << "leg 2 starts just off Kestrin's";
  EXPECT_TRUE(BoxHolds(FindRecord(image_, 1, kLanding), 4, 0x002D159F, 0x79618076)) << "AFB";
  for (int32_t leg = 0; leg < 2; ++leg) {
    for (uint32_t at : LegRecords(image_, leg)) {
      int32_t type = Word(image_, at);
      if (type != kStartGate && type != kGate && type != kLanding) continue;
      EXPECT_LT(Word(image_, at + 8) - Word(image_, at + 4), 1200) << "latitude span at " << at;
      EXPECT_LT(Word(image_, at + 16) - Word(image_, at + 12), 1200 * 120)
          << "longitude span at " << at;
    }
  }
}

TEST_F(SampleCourseImage, TextsAreLatin1WithItalianAccents) {
  bool accented = false;
  for (uint32_t field : TextFields(image_)) {
    int32_t offset = Word(image_, field);
    if (offset == 0) continue;
    for (unsigned char c : TextAt(image_, offset)) {
      EXPECT_TRUE(c >= 0x20 && c != 0x7F && (c < 0x80 || c >= 0xA0)) << "byte " << int{c};
      accented = accented || c >= 0xC0;
    }
  }
  EXPECT_TRUE(accented);
}

}  // namespace
