#include "rally/ui/score_summary_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "course_model/course_writer.h"
#include "rally/module/course_loader.h"
#include "rally/ui/score_summary.h"
#include "rally/ui/verification_key.h"
#include "tests/support/module_test_support.h"

namespace {

using namespace score_summary;

course_model::Course CourseWithLegs(int legs) {
  course_model::Course c;
  c.first_title = "Rally dell'Isola";
  c.second_title = "Edizione 1998";
  for (int i = 0; i < legs; ++i) {
    c.legs.push_back(course_model::Leg{{{1, 2, 3, 4}, 300, 100, 0, 99999, 65536}, {}, {1, 2, 3}});
  }
  return c;
}

constexpr uint32_t kNow = 946684800u;

class ScoreSummary : public ModuleOnSim {
 protected:
  void Load(const course_model::Course& course) {
    ASSERT_TRUE(WriteCourseFile(folder_.File("Rally.DAT"), course));
    ASSERT_TRUE(LoadCourse(m()));
    m().platform.calendar_time = [](void*) { return kNow; };
  }
  void SetBest(int32_t leg, int32_t total) {
    m().scores.words[score::kLegScoreWord + score::kLegScoreWords * leg + score::kLegTotal] = total;
  }
  void SetBonus(int32_t percentage, int32_t points) {
    m().scores.words[score::kPercentageWord] = percentage;
    m().scores.words[score::kBonusPointsWord] = points;
  }
  void SetNames(const std::vector<const char*>& names) {
    for (size_t k = 0; k < names.size(); ++k) m().scores.name_slots[k] = names[k];
  }
  ScoreSummaryLines Fill() {
    ScoreSummaryLines lines{};
    FillScoreSummaryLines(m(), lines);
    return lines;
  }
  std::vector<int32_t> Controls(const ScoreSummaryLines& lines) {
    std::vector<int32_t> ids;
    for (int32_t i = 0; i < lines.count; ++i) ids.push_back(lines.lines[i].control);
    return ids;
  }
  std::string Text(const ScoreSummaryLines& lines, int32_t control) {
    for (int32_t i = 0; i < lines.count; ++i) {
      if (lines.lines[i].control == control) return lines.lines[i].text;
    }
    ADD_FAILURE() << "control " << control << " not filled";
    return {};
  }
};

TEST_F(ScoreSummary, FillsEveryControlInOrder) {
  Load(CourseWithLegs(3));
  SetBest(0, 100);
  SetBest(1, 200);
  SetBest(2, 420);
  m().race.current_leg = 2;
  m().race.state = kLegRunning;
  PrepareLegStatusLine(m());
  ScoreSummaryLines lines = Fill();
  EXPECT_EQ(Controls(lines), (std::vector<int32_t>{1000, 1001, 1002, 1003, 1004, 1005, 1015, 1016,
                                                   1019, 1018, 1046}));
  EXPECT_EQ(Text(lines, 1000), "Rally dell'Isola");
  EXPECT_EQ(Text(lines, 1001), "Edizione 1998");
  EXPECT_EQ(Text(lines, 1002), "Tratta n\xB0 3 in corso");
  EXPECT_EQ(Text(lines, 1003), " 1:   100");
  EXPECT_EQ(Text(lines, 1005), " 3:   420");
  EXPECT_EQ(Text(lines, 1015), "Bonus:\t     0");
  EXPECT_EQ(Text(lines, 1016), "Totale\t   720");
  EXPECT_EQ(Text(lines, 1019), "Parola:\t");
  EXPECT_EQ(Text(lines, 1018), "Chiave:");
  EXPECT_EQ(Text(lines, 1046), "Cod. Prod:\n51234-442-1137906-28471");
  EXPECT_TRUE(lines.exit_enabled);
}

TEST_F(ScoreSummary, BonusAndTotalApplyThePercentageThenThePoints) {
  Load(CourseWithLegs(1));
  SetBest(0, 1000);
  SetBonus(110, 50);
  ScoreSummaryLines lines = Fill();
  EXPECT_EQ(Text(lines, 1015), "Bonus:\t   150");
  EXPECT_EQ(Text(lines, 1016), "Totale\t  1150");

  SetBest(0, 999);
  SetBonus(100, 0);
  lines = Fill();
  EXPECT_EQ(Text(lines, 1015), "Bonus:\t     0");
  EXPECT_EQ(Text(lines, 1016), "Totale\t   999");
}

TEST(ScoreSummaryFigures, DivisionTruncatesTowardZero) {
  ScoreSummaryFigures f = SummaryFigures(7, 150, 0);  // base 10.5
  EXPECT_EQ(f.total, 10);
  EXPECT_EQ(f.bonus, 3);
  f = SummaryFigures(-7, 150, 0);
  EXPECT_EQ(f.total, -10);
  EXPECT_EQ(f.bonus, -3);
  f = SummaryFigures(0, 100, 25);
  EXPECT_EQ(f.bonus, 25);
  EXPECT_EQ(f.total, 25);
}

TEST(ScoreSummaryFigures, LargeSumsNeitherWrapNorFlipSign) {
  // 30 000 000 x 100 does not fit 32 bits.
  ScoreSummaryFigures f = SummaryFigures(30000000, 100, 0);
  EXPECT_EQ(f.total, 30000000);
  EXPECT_EQ(f.bonus, 0);
  f = SummaryFigures(int64_t{20} * INT32_MAX, 200, 0);
  EXPECT_EQ(f.total, INT32_MAX);
  EXPECT_EQ(f.bonus, INT32_MAX);
}

TEST_F(ScoreSummary, TenLegsShowEightLinesButTheTotalCountsAllTen) {
  Load(CourseWithLegs(10));
  for (int32_t leg = 0; leg < 10; ++leg) SetBest(leg, 100 * (leg + 1));
  ScoreSummaryLines lines = Fill();
  std::vector<int32_t> ids = Controls(lines);
  EXPECT_EQ(
      std::count_if(ids.begin(), ids.end(), [](int32_t id) { return id >= 1003 && id <= 1010; }),
      8);
  EXPECT_EQ(Text(lines, 1010), " 8:   800");
  EXPECT_EQ(Text(lines, 1016), "Totale\t  5500");
}

TEST_F(ScoreSummary, ACourseWithoutLegsOrTitlesShowsOnlyThePoints) {
  course_model::Course c = CourseWithLegs(0);
  c.first_title = "";
  c.second_title = "";
  Load(c);
  SetBonus(150, 40);
  ScoreSummaryLines lines = Fill();
  EXPECT_EQ(Controls(lines),
            (std::vector<int32_t>{1000, 1001, 1002, 1015, 1016, 1019, 1018, 1046}));
  EXPECT_EQ(Text(lines, 1000), "");
  EXPECT_EQ(Text(lines, 1001), "");
  EXPECT_EQ(Text(lines, 1015), "Bonus:\t    40");
  EXPECT_EQ(Text(lines, 1016), "Totale\t    40");
}

TEST_F(ScoreSummary, TheWordStopsAtTheFirstEmptySlot) {
  Load(CourseWithLegs(1));
  SetNames({"Rocca", "Aquila", "Lago", nullptr, "Zeta"});
  EXPECT_EQ(Text(Fill(), 1019), "Parola:\tR A L ");

  SetNames({"Alfa", "Bravo", "Charlie", "Delta", "Eco", "Foxtrot", "Golf", "Hotel", "India"});
  ScoreSummaryLines lines = Fill();
  EXPECT_EQ(Text(lines, 1019), "Parola:\tA B C D E F G H I") << "no blank after the ninth";
  EXPECT_EQ(Text(lines, 1018), std::string("Chiave:\t") + VerificationKey(0, kNow).text);
}

TEST_F(ScoreSummary, TheKeyNeedsOnlySlotEight) {
  Load(CourseWithLegs(1));
  SetBest(0, 1000);
  SetBonus(110, 50);
  SetNames({nullptr, "B", "C", "D", "E", "F", "G", "H", "India"});
  ScoreSummaryLines lines = Fill();
  EXPECT_EQ(Text(lines, 1019), "Parola:\t");
  EXPECT_EQ(Text(lines, 1018), std::string("Chiave:\t") + VerificationKey(1150, kNow).text)
      << "keyed with the total and the time now";

  m().platform.calendar_time = [](void*) { return kNow + 1; };
  EXPECT_NE(Text(Fill(), 1018), Text(lines, 1018)) << "a new key each opening";
}

TEST_F(ScoreSummary, AMissingOrOverlongProductCodeReadsNotFound) {
  Load(CourseWithLegs(1));
  host_.product_code.reset();
  EXPECT_EQ(Text(Fill(), 1046), "Cod. Prod: non trovato");

  host_.product_code = std::string(29, '7');  // 30 bytes with its NUL: fits
  EXPECT_EQ(Text(Fill(), 1046), "Cod. Prod:\n" + std::string(29, '7'));
  host_.product_code = std::string(30, '7');
  EXPECT_EQ(Text(Fill(), 1046), "Cod. Prod: non trovato");

  m().shell.read_product_code = nullptr;  // a shell without the registry
  EXPECT_EQ(Text(Fill(), 1046), "Cod. Prod: non trovato");
}

TEST_F(ScoreSummary, TheExitButtonIsGreyedOnlyOutOfTheRace) {
  Load(CourseWithLegs(1));
  const std::map<int32_t, bool> enabled = {{kOutOfRace, false},       {kArmed, true},
                                           {kLegRunning, true},       {kNearObjectOuter, true},
                                           {kNearObjectMiddle, true}, {kNearObjectInner, true}};
  for (const auto& [state, expected] : enabled) {
    m().race.state = state;
    EXPECT_EQ(Fill().exit_enabled, expected) << "state " << state;
  }
}

TEST(ScoreSummaryCommands, OkEscAndCloseGiveOneAndExitGives1040) {
  EXPECT_EQ(ScoreSummaryCommandResult(1), 1);
  EXPECT_EQ(ScoreSummaryCommandResult(2), 1);
  EXPECT_EQ(ScoreSummaryCommandResult(1040), 1040);
  EXPECT_EQ(ScoreSummaryCommandResult(1003), 0) << "not the dialog's";
  EXPECT_EQ(ScoreSummaryCommandResult(0x00010001u), 1) << "by the low word";
}

}  // namespace
