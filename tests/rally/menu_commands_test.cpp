#include "rally/commands/menu_commands.h"

#include <gtest/gtest.h>

#include "rally/module/lifecycle.h"
#include "tests/support/module_test_support.h"

namespace {

class MenuCommands : public ModuleOnSim {
 protected:
  void SetUp() override {
    ModuleOnSim::SetUp();
    WriteCourse();
    ASSERT_EQ(ModuleInit(m()), 1);
    m().menu.command_base = 217;  // a bar whose largest identifier, 215, sits in a popup
    m().menu.command_last = 230;
    host_.calls.clear();
  }
};

TEST_F(MenuCommands, TheWholeRangeIsConsumedAndNothingAroundIt) {
  EXPECT_FALSE(OnMenuCommand(m(), 216));
  EXPECT_FALSE(OnMenuCommand(m(), 231));
  EXPECT_EQ(m().race.state, kOutOfRace);
  EXPECT_TRUE(OnMenuCommand(m(), 217));
  EXPECT_EQ(m().race.state, kArmed) << "slot 0 enters the race";
  EXPECT_TRUE(OnMenuCommand(m(), 217 + 5)) << "the quiz outside a leg is consumed";
  EXPECT_TRUE(OnMenuCommand(m(), 230));
  EXPECT_TRUE(SimCallsNamed(host_, "show_text").empty()) << "entering the race shows nothing";
}

TEST_F(MenuCommands, ANotificationCodeInTheHighWordKeepsTheCommandOut) {
  EXPECT_FALSE(OnMenuCommand(m(), (1u << 16) | 217u));
  EXPECT_EQ(m().race.state, kOutOfRace);
}

TEST_F(MenuCommands, NothingIsConsumedBeforeASuccessfulMerge) {
  m().menu.command_base = 0;
  m().menu.command_last = 0;
  EXPECT_FALSE(OnMenuCommand(m(), 0));
  EXPECT_EQ(m().race.state, kOutOfRace);
  m().menu.command_base = 217;  // a merge whose popup could not be appended
  EXPECT_FALSE(OnMenuCommand(m(), 217));
}

TEST_F(MenuCommands, TheLastPositionIsSeashoreIsland) {
  EXPECT_TRUE(OnMenuCommand(m(), 217 + 13));
  EXPECT_EQ(SimAircraftHeading(host_.state), 0x97A50000u);
  EXPECT_EQ(SimRepositionAltitude(host_.state),
            static_cast<int64_t>((uint64_t{22} << 32) | 0xEB460000u));
  EXPECT_EQ(UpperWord(SimAircraftPosition(host_.state).latitude), 0x002C79CB);
}

}  // namespace
