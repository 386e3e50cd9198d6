#include "rally/race/race_commands.h"
#include "rally/ui/message_queue.h"

#include <gtest/gtest.h>

#include "rally/race/start_positions.h"
#include "tests/support/flight_test_support.h"

namespace {

using namespace flight;

class RaceCommands : public Flight {};

TEST_F(RaceCommands, TheToggleLeavesARunningLegAndArmsFromEveryOtherState) {
  for (int32_t from : {kOutOfRace, kArmed, kNearObjectOuter, kNearObjectMiddle, kNearObjectInner}) {
    race().state = from;
    ToggleRace(m());
    EXPECT_EQ(race().state, kArmed) << from;
  }
  race().state = kLegRunning;
  race().current_leg = 4;
  QueueMessage(m(), "resta", nullptr, 4);
  ToggleRace(m());
  EXPECT_EQ(race().state, kOutOfRace);
  EXPECT_EQ(race().current_leg, 4) << "the leg is still the last one run";
  EXPECT_EQ(m().messages.count, 1) << "nothing is said or cleared";
  EXPECT_TRUE(Shown().empty());
}

TEST_F(RaceCommands, TheSummaryAbortTellsTheRaceAndResetsInEveryState) {
  Fly(CourseOf({LegOf({GateAt(2000)})}));
  StartFirstLeg();
  AbortRaceFromSummary(m());
  EXPECT_EQ(Shown().back(), "Tratta interrotta");
  EXPECT_EQ(SimCallsNamed(host_, "show_text").back()->args, (std::vector<int64_t>{5, 72, 0}));
  EXPECT_EQ(PromptsLoaded().back(), "ADV\\RALLY\\Abort");
  EXPECT_EQ(race().state, kOutOfRace);
  EXPECT_EQ(race().current_leg, -1);
  EXPECT_EQ(m().messages.count, 0);

  race().current_leg = 3;
  size_t shown = Shown().size();
  AbortRaceFromSummary(m());
  EXPECT_EQ(Shown().size(), shown) << "out of the race nothing is told";
  EXPECT_EQ(race().current_leg, -1) << "but the reset is made";
}

TEST_F(RaceCommands, SeashoreIslandWritesItsRowOfTheTable) {
  uint8_t* s = host_.state;
  SetSimAircraftSpeed(s, 0x12345678);
  SetSimOnGround(s, 0x0700);
  SetSimAircraftPitch(s, 99);
  SetSimAircraftBank(s, -99);
  MoveToStartPosition(m(), 13);
  EXPECT_EQ(SimAircraftPosition(s).latitude, FromUpperWord(0x002C79CB));
  EXPECT_EQ(SimAircraftPosition(s).longitude, FromUpperWord(0x79412977));
  EXPECT_EQ(SimRepositionAltitude(s), (int64_t{22} << 32) | 0xEB460000);
  EXPECT_EQ(SimAircraftHeading(s), 0x97A50000u);
  EXPECT_EQ(SimAircraftPitch(s), 0);
  EXPECT_EQ(SimAircraftBank(s), 0);
  EXPECT_EQ(SimAircraftSpeed(s), 0x12340000) << "only the lower 16 bits are cleared";
  EXPECT_EQ(SimOnGround(s), 0x0701) << "one byte is written";
  EXPECT_EQ(SimRepositionMode(s), 15);
  EXPECT_EQ(SimRepositionRequest(s), 1);
}

TEST_F(RaceCommands, SlotsOutsideThePositionsMoveNothing) {
  for (uint32_t slot : {0u, 5u, 14u, 0xFFFFFFFFu}) {
    SetSimRepositionRequest(host_.state, 0);
    MoveToStartPosition(m(), slot);
    EXPECT_EQ(SimRepositionRequest(host_.state), 0) << slot;
    EXPECT_EQ(StartPositionForSlot(slot), nullptr);
  }
}

}  // namespace
