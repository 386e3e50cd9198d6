#include "tools/aerilon-course/scores/score_report.h"

#include <gtest/gtest.h>

#include <climits>
#include <sstream>

#include "tests/support/course_test_support.h"

namespace {

using namespace course_test;
using namespace score;

// Two legs, three questions (one with a Latin-1 letter), a bonus object
// on take-counter slot 4, a second title with control characters.
course_model::Course TwoLegCourse() {
  course_model::Course c = BareCourse();
  c.second_title = "\x1B[31mRosso\x92";
  c.legs.push_back(c.legs[0]);
  c.questions = {{"Qual \xE8 la rotta?", "Nord", "Sud", "Est", 10},
                 {"Quota?", "300", "400", "500", 10},
                 {"Vento?", "Calmo", "Forte", "Raffiche", 10}};
  course_model::BonusObject balloon{};
  balloon.counter_slot = 4;
  balloon.max_takes = 2;
  c.bonus_objects = {balloon};
  return c;
}

uint32_t LegWord(int32_t leg, uint32_t value) {
  return kLegScoreWord + kLegScoreWords * static_cast<uint32_t>(leg) + value;
}

// Twenty name slots, `names` first.
std::vector<std::string> Slots(std::vector<std::string> names) {
  names.resize(kNameSlots);
  return names;
}

// A score file as the module writes it (percentage 100 unless `words` says
// otherwise, all twenty name slots).
Bytes Scores(std::map<uint32_t, int32_t> words, const std::vector<std::string>& names = Slots({})) {
  words.emplace(kPercentageWord, 100);
  return ScoreFile(words, names);
}

Bytes Cut(Bytes file, size_t bytes) {
  file.resize(file.size() - bytes);
  return file;
}
Bytes WithTail(Bytes file, const std::string& tail) {
  file.insert(file.end(), tail.begin(), tail.end());
  return file;
}

struct Case {
  const char* name;
  Bytes file;
  bool with_course;
  std::vector<std::string> lines;   // each must be a whole line of the report
  std::vector<std::string> absent;  // no line may contain these
};

const Bytes kFirstLegAndPoints = Scores({{kPercentageWord, 110},
                                         {kBonusPointsWord, 50},
                                         {LegWord(0, 0), 500},
                                         {LegWord(0, 1), 50},
                                         {LegWord(0, 2), 120},
                                         {LegWord(0, 3), -9},
                                         {LegWord(0, 4), -50},
                                         {LegWord(0, kLegTotal), 611},
                                         {kTakeCounterWord + 4, 2},
                                         {kTakeCounterWord + 7, 1}});
const Bytes kLegBeyondTheCourse =
    Scores({{LegWord(0, kLegTotal), 100}, {LegWord(5, kLegTotal), 300}});
const Bytes kQuizStates = Scores({{kQuizStateWord, 3},
                                  {kQuizStateWord + 1, 1},
                                  {kQuizStateWord + 2, 2},
                                  {kQuizStateWord + 10, 1}});

const Case kCases[] = {
    {"best legs, percentage, points and take counters",
     kFirstLegAndPoints,
     true,
     {"    1       500        50       120        -9       -50       611", "    2  no result yet",
      "Sum of the best totals of legs 1 to 2: 611", "Percentage: 110 %", "Bonus points: 50",
      "Overall result: 611 x 110 / 100 + 50 = 722",
      "The score summary shows it as \"Bonus: 111\" and \"Totale 722\".",
      "  slot  4: 2 takes; bonus object 1 (at most 2 takes, none left)",
      "  slot  7: 1 take; no bonus object of the course"},
     {"Note:"}},
    {"a record beyond the course's legs is shown but not counted",
     kLegBeyondTheCourse,
     true,
     {"Leg records beyond the course's 2 legs (not counted):",
      "    6         0         0         0         0         0       300",
      "Overall result: 100 x 100 / 100 + 0 = 100"},
     {}},
    {"without the course every record counts and the course is not known",
     kLegBeyondTheCourse,
     false,
     {"Course: not known; every leg record and quiz state that is not zero is shown.",
      "Sum of the best totals of all 20 leg records: 400 (the course's leg count decides which "
      "legs count)",
      "Bonus objects taken: none.", "Quiz: no question asked yet."},
     {"    2  no result yet"}},
    {"the overall result keeps to 32 bits",
     Scores({{LegWord(0, kLegTotal), INT32_MAX}, {LegWord(1, kLegTotal), INT32_MAX}}),
     true,
     {"Overall result: 4294967294 x 100 / 100 + 0 = 2147483647 (the 32-bit limit of scores)"},
     {}},
    {"names and the hidden word up to the first empty slot",
     Scores({}, Slots({"Rocca", "Alpe", "\xC8lba", "", "Zeta", "", "", "", "Nono"})),
     true,
     {"Collected names (5 of the 20 slots):", "  slot  2: \xC3\x88lba",
      "Hidden word so far, as the score summary shows it: R A \xC3\x88",
      "Letters of name slots 0 to 8 (_: slot still empty): R A \xC3\x88 _ Z _ _ _ N",
      "Verification key: shown in the score summary (slot 8 holds a name)."},
     {"Note:", "slot  3"}},
    {"the file's and the course's texts reach the terminal as text",
     Scores({}, Slots({"\x1B]0;owned\x07", "l\x92isola \x80", "\x81"})),
     true,
     {"Course \"Bare\" / \"\\x1B[31mRosso’\": 2 legs, 3 quiz questions.",
      "  slot  0: \\x1B]0;owned\\x07", "  slot  1: l’isola €", "  slot  2: \\x81",
      "Hidden word so far, as the score summary shows it: \\x1B l \\x81"},
     {}},
    {"quiz states with the course: texts and the module's counts",
     kQuizStates,
     true,
     {"Quiz: 3 questions; 1 not yet asked, 1 answered wrong, 1 answered right:",
      "   1  answered wrong, to be asked again   \"Qual \xC3\xA8 la rotta?\"",
      "   2  asked, answered right               \"Quota?\"",
      "   3  not yet asked (stored value 2)      \"Vento?\"",
      "Quiz states beyond the course's 3 questions (not used):", "  11  asked, answered right"},
     {}},
    {"quiz states without the course: the ones that are not zero",
     kQuizStates,
     false,
     {"   1  answered wrong, to be asked again", "   3  not yet asked (stored value 2)",
      "  11  asked, answered right"},
     {"   4  "}},
    {"every question answered right",
     Scores({{kQuizStateWord, 1}, {kQuizStateWord + 1, 1}, {kQuizStateWord + 2, 1}}),
     true,
     {"Every question has been answered right: the next quiz makes them all new again."},
     {}},
    {"a file shorter than the block is read as no score file",
     Cut(Scores({{kPercentageWord, 85}, {LegWord(0, kLegTotal), 900}}, {}), 1),
     true,
     {"Note: the file is shorter than the 728-byte score block. The module reads it as no score "
      "file at all (percentage 100, no results, no names); that is what is shown below.",
      "Percentage: 100 %", "    1  no result yet",
      "Quiz: 3 questions; 3 not yet asked, 0 answered wrong, 0 answered right:"},
     {"85 %"}},
    {"the block alone holds no names",
     Scores({}, {}),
     true,
     {"Note: no names follow the score block (the module always writes all 20 name slots): the "
      "file seems cut short; every name slot is read as empty.",
      "Collected names: none yet.",
      "Hidden word so far, as the score summary shows it: (no letter yet)"},
     {}},
    {"names that end early",
     Scores({}, {"Alfa", "Bravo"}),
     true,
     {"Note: the names end after 2 of the 20 slots: the file seems cut short; slots 2 to 19 are "
      "read as empty.",
      "  slot  1: Bravo"},
     {}},
    {"a last name without its NUL",
     Cut(Scores({}, {"Alfa", "Bravo"}), 1),
     true,
     {"Note: the name in slot 1 has no terminating NUL: the file seems cut short; the module reads "
      "that name up to the end of the file and leaves the later slots empty.",
      "  slot  1: Bravo"},
     {}},
    {"bytes after the twentieth name",
     WithTail(Scores({}), std::string("xy\0", 3)),
     true,
     {"Note: 3 bytes after the 20th name slot are not read by the module."},
     {}},
};

std::vector<std::string> LinesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST(ScoreReportTest, TellsEachScoreStateInWords) {
  const course_model::Course course = TwoLegCourse();
  for (const Case& c : kCases) {
    std::string report = DescribeScoreFile(c.file, c.with_course ? &course : nullptr);
    std::vector<std::string> lines = LinesOf(report);
    for (const std::string& expected : c.lines) {
      EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end())
          << c.name << ": no line \"" << expected << "\" in\n"
          << report;
    }
    for (const std::string& unwanted : c.absent) {
      for (const std::string& line : lines) {
        EXPECT_EQ(line.find(unwanted), std::string::npos) << c.name << ": " << line;
      }
    }
  }
}

}  // namespace
