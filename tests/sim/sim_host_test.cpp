#include "sim/sim_host.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/little_endian.h"
#include "rally/course/score_table.h"
#include "rally/host/stdio_platform.h"
#include "rally/module/lifecycle.h"
#include "sim/geodesy.h"
#include "sim/sim_aircraft_state.h"
#include "sim/sim_menu_bar.h"
#include "sim/sim_score_file_watch.h"
#include "sim/sim_sound_files.h"
#include "sim/sim_state_fields.h"
#include "tests/support/module_test_support.h"

namespace {

// Routines as the module would hand them to the host; they reach the host
// under test through this pointer.
SimHost* g_host = nullptr;
std::vector<std::string> g_seen;
HostOps g_ops;

void RALLY_STDCALL Second(uint32_t, uint32_t) {
  g_seen.push_back("second");
}
void RALLY_STDCALL RegistersSecond(uint32_t, uint32_t) {
  g_seen.push_back("first");
  g_ops.register_callback(g_ops.context, kCallbackTick, Second);
  g_ops.unregister_callback(g_ops.context, kCallbackTick, RegistersSecond);
}
void RALLY_STDCALL RemovesSecond(uint32_t, uint32_t) {
  g_seen.push_back("remover");
  g_ops.unregister_callback(g_ops.context, kCallbackTick, Second);
}
void RALLY_STDCALL AsksForCommand(uint32_t event_id, uint32_t) {
  g_seen.push_back("event " + std::to_string(event_id));
  g_ops.issue_command(g_ops.context, 4711, 0);
  g_seen.push_back("asked");
}
void RALLY_STDCALL PromptDone(uint32_t handle) {
  g_seen.push_back("done " + std::to_string(handle) + " at " + std::to_string(g_host->tick));
}
void RALLY_STDCALL ShowsText(uint32_t, uint32_t) {
  g_ops.show_text(g_ops.context, "during", 5, 72, 0);
}
void RALLY_STDCALL PlaysAndShowsWhenDone(uint32_t handle) {
  g_ops.release_sound(g_ops.context, handle);
  g_ops.show_text(g_ops.context, "after the prompt", 5, 72, 0);
}
// Writes the way the position commands do: some fields changed, one
// written with the value it already had.
void RALLY_STDCALL WritesState(uint32_t, uint32_t) {
  SetSimAircraftHeading(g_ops.sim_state, 0x97A50000u);
  SetSimOnGroundByte(g_ops.sim_state, 0xFF);
  SetSimAircraftPitch(g_ops.sim_state, 0);
  SetSimRepositionAltitude(g_ops.sim_state, FromUpperWord(22) | 0xEB460000u);
  SetSimRepositionRequest(g_ops.sim_state, 1);
}
void RALLY_STDCALL WritesNothing(uint32_t, uint32_t) {}
void RALLY_STDCALL AsksTwice(uint32_t, uint32_t) {
  g_seen.push_back("asking");
  g_ops.issue_command(g_ops.context, 1, 0);
  g_ops.issue_command(g_ops.context, 2, 0);
}

class Host : public ::testing::Test {
 protected:
  void SetUp() override {
    g_host = &host_;
    g_seen.clear();
    g_ops = SimHostOps(host_);
  }
  SimHost host_;
};

TEST_F(Host, ARoutineRegisteredDuringATickRunsFromTheNextTick) {
  g_ops.register_callback(g_ops.context, kCallbackTick, RegistersSecond);
  SimRunTick(host_);
  EXPECT_EQ(g_seen, (std::vector<std::string>{"first"}));
  SimRunTick(host_);
  EXPECT_EQ(g_seen, (std::vector<std::string>{"first", "second"}));
  EXPECT_EQ(host_.tick, 2);
}

TEST_F(Host, ARoutineRemovedEarlierInTheSameTickIsNotCalled) {
  g_ops.register_callback(g_ops.context, kCallbackTick, RemovesSecond);
  g_ops.register_callback(g_ops.context, kCallbackTick, Second);
  SimRunTick(host_);
  EXPECT_EQ(g_seen, (std::vector<std::string>{"remover"}));
}

TEST_F(Host, ACommandIsDeliveredWhenTheCallbackThatAskedForItReturns) {
  host_.deliver_command = [](uint32_t id) { g_seen.push_back("command " + std::to_string(id)); };
  g_ops.register_callback(g_ops.context, kCallbackHostEvent, AsksForCommand);
  SimSendEvent(host_, 0x100BD);
  EXPECT_EQ(g_seen, (std::vector<std::string>{"event 65725", "asked", "command 4711"}));
}

TEST_F(Host, APromptPlaysItsTicksAndCompletesBeforeTheNextTick) {
  uint32_t handle = 0;
  ASSERT_EQ(g_ops.load_sound(g_ops.context, "ADV\\RALLY\\Start", 2, &handle), 0);
  EXPECT_NE(handle, 0u);
  g_ops.play_sound(g_ops.context, handle, 0, 0, 0, PromptDone);
  for (int i = 0; i < 11; ++i) SimRunTick(host_);
  EXPECT_TRUE(g_seen.empty());
  SimRunTick(host_);
  EXPECT_EQ(g_seen, (std::vector<std::string>{"done 1 at 12"}));
}

TEST_F(Host, AMissingSoundLeavesTheHandleCellAlone) {
  host_.sound_exists = [](const std::string& name) { return name != "ADV\\RALLY\\Nope"; };
  uint32_t handle = 0;
  EXPECT_NE(g_ops.load_sound(g_ops.context, "ADV\\RALLY\\Nope", 2, &handle), 0);
  EXPECT_EQ(handle, 0u);
  EXPECT_EQ(SimCallsNamed(host_, "load_sound").size(), 1u);
}

TEST_F(Host, StateFieldsSitAtTheirOffsets) {
  SetSimAircraftHeading(host_.state, 0xC0000000u);
  SetSimCrashed(host_.state, 1);
  SetSimAircraftAltitude(host_.state, FromUpperWord(300));
  EXPECT_EQ(load_u32le(host_.state + 0x580), 0xC0000000u);
  EXPECT_EQ(SimAircraftHeadingAngle(host_.state), 0xC000);
  EXPECT_EQ(load_i16le(host_.state + 0x832), 1);
  EXPECT_EQ(load_i32le(host_.state + 0x574), 300) << "whole metres in the upper word";
}

TEST_F(Host, CallsCarryTheTickTheyBelongTo) {
  uint32_t handle = 0;
  g_ops.load_sound(g_ops.context, "ADV\\RALLY\\Start", 2, &handle);
  g_ops.play_sound(g_ops.context, handle, 0, 0, 0, PlaysAndShowsWhenDone);
  g_ops.register_callback(g_ops.context, kCallbackTick, ShowsText);
  ASSERT_EQ(host_.calls.size(), 3u);
  EXPECT_EQ(host_.calls[0].tick, 1) << "start-up is the host's work before tick 1";
  for (int i = 0; i < 12; ++i) SimRunTick(host_);
  auto shown = SimCallsNamed(host_, "show_text");
  ASSERT_EQ(shown.size(), 13u);
  EXPECT_EQ(shown[0]->tick, 1);
  EXPECT_EQ(shown[11]->tick, 12);
  // Started before tick 1, the prompt ends before tick 13: its routine's
  // calls belong to tick 13, before anything of that tick.
  EXPECT_EQ(shown[12]->text, "after the prompt");
  EXPECT_EQ(shown[12]->tick, 13);
  auto released = SimCallsNamed(host_, "release_sound");
  ASSERT_EQ(released.size(), 1u);
  EXPECT_EQ(released[0]->tick, 13);
  EXPECT_EQ(released[0]->text, "ADV\\RALLY\\Start") << "the released sound is named";
  EXPECT_EQ(SimCallTick(host_), 13);
}

TEST_F(Host, WhatTheModuleWritesIsLoggedFieldByField) {
  host_.log_state_writes = true;
  SetSimOnGround(host_.state, 0);
  g_ops.register_callback(g_ops.context, kCallbackTick, WritesState);
  SimRunTick(host_);
  auto written = SimCallsNamed(host_, "state_written");
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0]->tick, 1);
  std::vector<std::string> names;
  for (const SimFieldValue& f : written[0]->fields) names.push_back(f.field);
  // Offset order; the pitch kept its value and so is not among them.
  EXPECT_EQ(names, (std::vector<std::string>{"on_ground", "aircraft_heading", "reposition_request",
                                             "reposition_altitude"}));
  EXPECT_EQ(written[0]->fields[0].value, 255) << "one byte written into the 16-bit field";
  EXPECT_EQ(written[0]->fields[1].value, 0x97A50000);
  EXPECT_EQ(written[0]->fields[3].width, 8u);
  EXPECT_EQ(written[0]->fields[3].value, (int64_t{22} << 32) | 0xEB460000);

  SimRunTick(host_);  // the same values again change nothing
  EXPECT_EQ(SimCallsNamed(host_, "state_written").size(), 1u);
}

TEST_F(Host, StateWritesAreOnlyLoggedWhenAskedFor) {
  g_ops.register_callback(g_ops.context, kCallbackTick, WritesState);
  SimRunTick(host_);
  EXPECT_TRUE(SimCallsNamed(host_, "state_written").empty());
  EXPECT_EQ(SimRepositionRequest(host_.state), 1) << "nobody carries the request out";
}

TEST(SimStateFields, SignedFieldsAndUnnamedBytes) {
  uint8_t before[sim_field::kBlockSize] = {};
  uint8_t after[sim_field::kBlockSize] = {};
  SetSimCrashed(after, -1);
  after[0x100] = 7;
  std::vector<SimFieldValue> changed = ChangedStateFields(before, after);
  ASSERT_EQ(changed.size(), 2u);
  EXPECT_EQ(changed[0].field, "byte_0x0100");
  EXPECT_EQ(changed[0].value, 7);
  EXPECT_EQ(changed[1].field, "crashed");
  EXPECT_EQ(changed[1].value, -1);
}

TEST_F(Host, ARepositionRequestIsCarriedOutAfterTheCallThatMadeIt) {
  host_.carry_out_repositions = true;
  SetSimAircraftAltitude(host_.state, FromUpperWord(300));
  g_ops.register_callback(g_ops.context, kCallbackTick, WritesState);
  SimRunTick(host_);
  EXPECT_EQ(SimAircraftPosition(host_.state).altitude, (int64_t{22} << 32) | 0xEB460000);
  EXPECT_EQ(SimRepositionRequest(host_.state), 0);
  g_ops.unregister_callback(g_ops.context, kCallbackTick, WritesState);
  g_ops.register_callback(g_ops.context, kCallbackTick, WritesNothing);
  SetSimAircraftAltitude(host_.state, FromUpperWord(500));
  SimRunTick(host_);
  EXPECT_EQ(UpperWord(SimAircraftPosition(host_.state).altitude), 500) << "no request, no move";
}

TEST_F(Host, ThePilotsCommandsAndTheModulesOwnAreDeliveredInOrder) {
  std::vector<uint32_t> delivered;
  host_.deliver_command = [&](uint32_t id) {
    delivered.push_back(id);
    if (id == 217) AsksTwice(0, 0);
  };
  SimDeliverCommand(host_, 217);
  EXPECT_EQ(delivered, (std::vector<uint32_t>{217, 1, 2}));
  EXPECT_TRUE(host_.pending_commands.empty());
}

TEST(SimAircraft, AFlightsChangeSetsOnlyTheFieldsItNames) {
  uint8_t state[sim_field::kBlockSize] = {};
  SetSimAircraftSpeed(state, 7);
  SimAircraftChange change;
  change.latitude = 0x002CB9F3;
  change.longitude = 0x89457C16u;
  change.altitude = -5;
  change.heading = 0xC000;
  change.on_ground = 1;
  change.magnetic_variation = 0xFF00;
  ApplyAircraftChange(state, change);
  HostPosition p = SimAircraftPosition(state);
  EXPECT_EQ(p.latitude, int64_t{0x002CB9F3} << 32) << "the lower half is 0";
  EXPECT_EQ(static_cast<uint32_t>(UpperWord(p.longitude)), 0x89457C16u);
  EXPECT_EQ(UpperWord(p.altitude), -5);
  EXPECT_EQ(SimAircraftHeading(state), 0xC0000000u) << "stored as the upper half";
  EXPECT_EQ(SimOnGround(state), 1);
  EXPECT_EQ(SimMagneticVariation(state), 0xFF00);
  EXPECT_EQ(SimAircraftSpeed(state), 7) << "not named, kept";
  EXPECT_EQ(SimCrashed(state), 0);
}

TEST(SimSoundFiles, PromptNamesAreFoldersAndLettersInAnyCase) {
  TempSimFolder folder;
  std::ofstream(folder.root / "ADV" / "RALLY" / "START.WAV") << "RIFF";
  std::filesystem::create_directories(folder.root / "ADV" / "RALLY" / "Bonus.wav");
  std::string root = folder.root.string();
  EXPECT_TRUE(SimSoundFileExists(root, "ADV\\RALLY\\Start"));
  EXPECT_TRUE(SimSoundFileExists(root, "adv\\rally\\start"));
  EXPECT_FALSE(SimSoundFileExists(root, "ADV\\RALLY\\Crash"));
  EXPECT_FALSE(SimSoundFileExists(root, "ADV\\RALLY\\Bonus")) << "a folder is no sound";
  EXPECT_FALSE(SimSoundFileExists(root, "ADV\\RALLY\\START.WAV")) << ".wav is added";
  EXPECT_FALSE(SimSoundFileExists(root, "ADV\\..\\ADV\\RALLY\\Start"));
  EXPECT_FALSE(SimSoundFileExists(root, ""));
}

class SimWindow : public ModuleOnSim {};

TEST_F(SimWindow, TheMenuIsMergedOnlyIntoAHookedWindow) {
  SimMenuBar menus;
  BindSimMenuBar(m(), menus, host_);
  SimPaintWindowFrame(m(), host_);
  EXPECT_EQ(m().menu.command_base, 0u);
  EXPECT_EQ(SimMenuCommand(menus, 13), 0u) << "no popup to choose from";
  WriteCourse();
  ASSERT_EQ(ModuleInit(m()), 1);
  SimPaintWindowFrame(m(), host_);
  EXPECT_EQ(m().menu.command_base, 217u) << "215 inside a popup gives 217";
  EXPECT_EQ(m().menu.command_last, 230u);
  EXPECT_EQ(SimMenuCommand(menus, 13), 230u);
}

class SimScoreFile : public ModuleOnSim {
 protected:
  void SetUp() override {
    ModuleOnSim::SetUp();
    // The watch goes in front of the stand-in's own files, as aerilon-sim
    // binds it (the counting heap of the fixture is left out).
    platform_ = MakeStdioPlatform(&files_);
    WatchScoreFileWrites(platform_, watch_, host_, m().course);
    std::snprintf(m().course.path, sizeof m().course.path, "%s", "ADV\\RALLY\\Rally.SCO");
  }
  PlatformOps platform_{};
  SimScoreFileWatch watch_{};
};

TEST_F(SimScoreFile, ACompletedReplaceIsOneLine) {
  ASSERT_TRUE(WriteScoreFile(m().scores, platform_, m().course.path));
  auto written = SimCallsNamed(host_, "score_file_written");
  ASSERT_EQ(written.size(), 1u);
  EXPECT_EQ(written[0]->text, "ADV\\RALLY\\Rally.SCO");
  EXPECT_EQ(written[0]->args, (std::vector<int64_t>{score::kBlockBytes + score::kNameSlots}))
      << "the block and twenty empty names";
  EXPECT_TRUE(std::filesystem::exists(folder_.File("Rally.SCO")));
}

TEST_F(SimScoreFile, AFailedWriteIsNoLine) {
  std::filesystem::create_directories(folder_.File("Rally.SC$"));  // the work file cannot be made
  EXPECT_FALSE(WriteScoreFile(m().scores, platform_, m().course.path));
  EXPECT_TRUE(SimCallsNamed(host_, "score_file_written").empty());
}

HostPosition At(double lat, double lon, int32_t metres) {
  return HostPosition{geodesy::LatitudeFromDegrees(lat), geodesy::LongitudeFromDegrees(lon),
                      FromUpperWord(metres)};
}

struct Measured {
  uint32_t bearing;
  int32_t distance;
};
Measured Measure(const HostPosition& from, const HostPosition& to) {
  Measured m{};
  SimDistanceAndBearing(from, to, &m.bearing, &m.distance);
  return m;
}

TEST(Geodesy, DistanceAndBearingInTheSimulatorsUnits) {
  // One degree of latitude on a 6371 km sphere is 111194.93 m.
  Measured north = Measure(At(26.0, 170.0, 0), At(27.0, 170.0, 0));
  EXPECT_EQ(north.distance, 111195);
  EXPECT_EQ(north.bearing, 0u);
  EXPECT_EQ(Measure(At(27.0, 170.0, 0), At(26.0, 170.0, 0)).bearing, 32768u);
  EXPECT_EQ(Measure(At(0.0, 10.0, 0), At(0.0, 11.0, 0)).bearing, 16384u);
  EXPECT_EQ(Measure(At(0.0, 11.0, 0), At(0.0, 10.0, 0)).bearing, 49152u);
  // Height alone, and height combined with ground distance.
  EXPECT_EQ(Measure(At(26.0, 170.0, 0), At(26.0, 170.0, 300)).distance, 300);
  Measured slant = Measure(At(0.0, 0.0, 0), At(0.0, 0.0, 0));
  EXPECT_EQ(slant.distance, 0);
}

TEST(Geodesy, TheDateLineIsCrossedTheShortWay) {
  Measured east = Measure(At(0.0, 179.99, 0), At(0.0, -179.99, 0));
  EXPECT_EQ(east.bearing, 16384u);
  EXPECT_NEAR(east.distance, 2224, 1);
}

TEST(Geodesy, UnitsMatchTheSimulatorsScale) {
  EXPECT_EQ(UpperWord(geodesy::LatitudeFromDegrees(90.0)), 10001750);
  EXPECT_EQ(static_cast<uint32_t>(UpperWord(geodesy::LongitudeFromDegrees(90.0))), 0x40000000u);
  EXPECT_NEAR(geodesy::LatitudeDegrees(FromUpperWord(0x002CB9F3)), 26.376067, 1e-6);
}

}  // namespace
