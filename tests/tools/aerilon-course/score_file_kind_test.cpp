#include "tools/aerilon-course/scores/score_file_kind.h"

#include <gtest/gtest.h>

#include <climits>

#include "course_model/course_writer.h"
#include "tests/support/course_test_support.h"

namespace {

using namespace course_test;
using namespace score;

uint32_t Leg(int32_t leg, uint32_t value) {
  return kLegScoreWord + kLegScoreWords * static_cast<uint32_t>(leg) + value;
}

Bytes Text(const std::string& text) {
  return Bytes(text.begin(), text.end());
}

struct Case {
  const char* name;
  Bytes file;
  const char* refusal;  // how the reason begins; null: taken as a score file
};

TEST(ScoreFileKindTest, RefusesWhatTheModuleNeverWrites) {
  const std::vector<std::string> names(kNameSlots, "Rocca");
  const Case cases[] = {
      {"a file as the module writes it",
       ScoreFile({{kPercentageWord, 110},
                  {kTakeCounterWord + 4, 2},
                  {kQuizStateWord, 3},
                  {kQuizStateWord + 1, 1},
                  {Leg(0, 0), 500},
                  {Leg(0, 2), 120},
                  {Leg(0, 3), -9},
                  {Leg(0, kLegTotal), 611},
                  {Leg(1, 0), INT32_MAX},
                  {Leg(1, 1), 1},
                  {Leg(1, kLegTotal), INT32_MAX}},
                 names),
       nullptr},
      {"shorter than the block: no score file to the module", Bytes{'x', 0}, nullptr},
      {"a course file", EncodeCourseFile(BareCourse()), "not a score file: this is a course file"},
      {"a course source", Text("title = \"Rally\"\n[[leg]]\n"),
       "not a score file: this is a text file"},
      {"a negative take counter", ScoreFile({{kTakeCounterWord + 3, -1}}, names),
       "not a score file the module wrote: take counter 3 is -1"},
      {"a quiz state of 2", ScoreFile({{kQuizStateWord + 6, 2}}, names),
       "not a score file the module wrote: quiz question 7 has the state 2"},
      {"a total that is no sum", ScoreFile({{Leg(4, kLegTotal), 300}}, names),
       "not a score file the module wrote: leg record 5 has a total of 300 that is not the sum"},
      {"a total not above 0", ScoreFile({{Leg(0, 2), -5}, {Leg(0, kLegTotal), -5}}, names),
       "not a score file the module wrote: leg record 1 has a total of -5"},
  };
  for (const Case& c : cases) {
    std::optional<std::string> refusal = NotAScoreFile(c.file);
    if (c.refusal == nullptr) {
      EXPECT_FALSE(refusal) << c.name << ": " << *refusal;
    } else {
      ASSERT_TRUE(refusal) << c.name;
      EXPECT_EQ(refusal->rfind(c.refusal, 0), 0u) << c.name << ": " << *refusal;
    }
  }
}

}  // namespace
