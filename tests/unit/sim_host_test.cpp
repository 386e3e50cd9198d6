#include "sim/sim_host.h"

#include <gtest/gtest.h>

#include "rally/host/little_endian.h"
#include "sim/geodesy.h"

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
