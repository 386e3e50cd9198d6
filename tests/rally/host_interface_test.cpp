#include "rally/host/host_interface.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace {

struct FieldCase {
  const char* name;
  uint32_t offset;
  uint32_t width;
  std::function<void(uint8_t*)> write;  // writes a value with no zero byte
  std::function<bool(const uint8_t*)> reads_back;
};

// Each writer must change exactly the field's bytes, and the reader must see
// the value: a wrong offset or width shows as a changed neighbour.
std::vector<FieldCase> Fields() {
  return {
      {"pause_flag", 0x264, 2, [](uint8_t* s) { SetSimPauseFlag(s, -2); },
       [](const uint8_t* s) { return SimPauseFlag(s) == -2; }},
      {"suspend_flag", 0x270, 1, [](uint8_t* s) { SetSimSuspendFlag(s, 0x81); },
       [](const uint8_t* s) { return SimSuspendFlag(s) == 0x81; }},
      {"magnetic_variation", 0x2A0, 2, [](uint8_t* s) { SetSimMagneticVariation(s, 0xF123); },
       [](const uint8_t* s) { return SimMagneticVariation(s) == 0xF123; }},
      {"aircraft_speed", 0x2B8, 4, [](uint8_t* s) { SetSimAircraftSpeed(s, -0x01020304); },
       [](const uint8_t* s) { return SimAircraftSpeed(s) == -0x01020304; }},
      {"reposition_mode", 0x365, 1, [](uint8_t* s) { SetSimRepositionMode(s, 15); },
       [](const uint8_t* s) { return SimRepositionMode(s) == 15; }},
      {"on_ground", 0x366, 2, [](uint8_t* s) { SetSimOnGround(s, 0x0101); },
       [](const uint8_t* s) { return SimOnGround(s) == 0x0101; }},
      {"aircraft_latitude", 0x560, 8,
       [](uint8_t* s) { SetSimAircraftLatitude(s, 0x0102030405060708LL); },
       [](const uint8_t* s) { return SimAircraftPosition(s).latitude == 0x0102030405060708LL; }},
      {"aircraft_longitude", 0x568, 8,
       [](uint8_t* s) { SetSimAircraftLongitude(s, -0x0102030405060708LL); },
       [](const uint8_t* s) { return SimAircraftPosition(s).longitude == -0x0102030405060708LL; }},
      {"aircraft_altitude", 0x570, 8,
       [](uint8_t* s) { SetSimAircraftAltitude(s, 0x1101012CEB461111LL); },
       [](const uint8_t* s) { return SimAircraftPosition(s).altitude == 0x1101012CEB461111LL; }},
      {"aircraft_pitch", 0x578, 4, [](uint8_t* s) { SetSimAircraftPitch(s, 0x11223344); },
       [](const uint8_t* s) { return SimAircraftPitch(s) == 0x11223344; }},
      {"aircraft_bank", 0x57C, 4, [](uint8_t* s) { SetSimAircraftBank(s, 0x55667788); },
       [](const uint8_t* s) { return SimAircraftBank(s) == 0x55667788; }},
      {"aircraft_heading", 0x580, 4, [](uint8_t* s) { SetSimAircraftHeading(s, 0x97A51111u); },
       [](const uint8_t* s) { return SimAircraftHeadingAngle(s) == 0x97A5; }},
      {"slew_active", 0x5DC, 2, [](uint8_t* s) { SetSimSlewActive(s, 0x0202); },
       [](const uint8_t* s) { return SimSlewActive(s) == 0x0202; }},
      {"crashed", 0x832, 2, [](uint8_t* s) { SetSimCrashed(s, 0x0303); },
       [](const uint8_t* s) { return SimCrashed(s) == 0x0303; }},
      {"condition_index", 0xB60, 1, [](uint8_t* s) { SetSimConditionIndex(s, 3); },
       [](const uint8_t* s) { return SimConditionIndex(s) == 3; }},
      {"reposition_request", 0x11F0, 4, [](uint8_t* s) { SetSimRepositionRequest(s, 0x01010101); },
       [](const uint8_t* s) { return SimRepositionRequest(s) == 0x01010101; }},
      {"reposition_altitude", 0x11F8, 8,
       [](uint8_t* s) { SetSimRepositionAltitude(s, 0x11223344EB465566LL); },
       [](const uint8_t* s) { return SimRepositionAltitude(s) == 0x11223344EB465566LL; }},
  };
}

TEST(SimState, EveryFieldIsWrittenAndReadAtItsOffsetAndWidth) {
  for (const FieldCase& field : Fields()) {
    uint8_t block[sim_field::kBlockSize];
    std::memset(block, 0, sizeof block);
    field.write(block);
    for (uint32_t i = 0; i < sizeof block; ++i) {
      bool inside = i >= field.offset && i < field.offset + field.width;
      EXPECT_EQ(block[i] != 0, inside) << field.name << " byte 0x" << std::hex << i;
    }
    EXPECT_TRUE(field.reads_back(block)) << field.name;
  }
}

TEST(SimState, PositionCommandsWriteOnlyTheLowHalfOfSpeedAndOneByteOfOnGround) {
  uint8_t block[sim_field::kBlockSize] = {};
  SetSimAircraftSpeed(block, 0x12345678);
  SetSimAircraftSpeedLow16(block, 0);
  EXPECT_EQ(SimAircraftSpeed(block), 0x12340000);
  SetSimOnGround(block, 0x0200);
  SetSimOnGroundByte(block, 1);
  EXPECT_EQ(SimOnGround(block), 0x0201);
}

TEST(SimState, PositionsAreThreeLittleEndianWords) {
  uint8_t bytes[kPositionBytes];
  HostPosition p{FromUpperWord(0x002CB9F3), FromUpperWord(static_cast<int32_t>(0x79457C16)),
                 FromUpperWord(44) | 0xEB460000LL};
  StorePosition(bytes, p);
  EXPECT_EQ(bytes[4], 0xF3);
  EXPECT_EQ(bytes[7], 0x00);
  EXPECT_EQ(bytes[15], 0x79);
  EXPECT_EQ(bytes[16 + 2], 0x46);
  HostPosition back = LoadPosition(bytes);
  EXPECT_EQ(back.latitude, p.latitude);
  EXPECT_EQ(back.longitude, p.longitude);
  EXPECT_EQ(back.altitude, p.altitude);
  EXPECT_EQ(UpperWord(FromUpperWord(-5)), -5);
}

}  // namespace
