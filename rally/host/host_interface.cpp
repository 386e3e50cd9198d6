#include "rally/host/host_interface.h"

#include "common/little_endian.h"

using namespace sim_field;

void StorePosition(uint8_t* block, const HostPosition& position) {
  store_i64le(block, position.latitude);
  store_i64le(block + 8, position.longitude);
  store_i64le(block + 16, position.altitude);
}

HostPosition LoadPosition(const uint8_t* block) {
  return HostPosition{load_i64le(block), load_i64le(block + 8), load_i64le(block + 16)};
}

int16_t SimPauseFlag(const uint8_t* s) {
  return load_i16le(s + kPauseFlag);
}
uint8_t SimSuspendFlag(const uint8_t* s) {
  return load_u8(s + kSuspendFlag);
}
uint16_t SimMagneticVariation(const uint8_t* s) {
  return load_u16le(s + kMagneticVariation);
}
int32_t SimAircraftSpeed(const uint8_t* s) {
  return load_i32le(s + kAircraftSpeed);
}
uint8_t SimRepositionMode(const uint8_t* s) {
  return load_u8(s + kRepositionMode);
}
int16_t SimOnGround(const uint8_t* s) {
  return load_i16le(s + kOnGround);
}
HostPosition SimAircraftPosition(const uint8_t* s) {
  return LoadPosition(s + kAircraftPosition);
}
int32_t SimAircraftPitch(const uint8_t* s) {
  return load_i32le(s + kAircraftPitch);
}
int32_t SimAircraftBank(const uint8_t* s) {
  return load_i32le(s + kAircraftBank);
}
uint32_t SimAircraftHeading(const uint8_t* s) {
  return load_u32le(s + kAircraftHeading);
}
uint16_t SimAircraftHeadingAngle(const uint8_t* s) {
  return static_cast<uint16_t>(SimAircraftHeading(s) >> 16);
}
int16_t SimSlewActive(const uint8_t* s) {
  return load_i16le(s + kSlewActive);
}
int16_t SimCrashed(const uint8_t* s) {
  return load_i16le(s + kCrashed);
}
uint8_t SimConditionIndex(const uint8_t* s) {
  return load_u8(s + kConditionIndex);
}
int32_t SimRepositionRequest(const uint8_t* s) {
  return load_i32le(s + kRepositionRequest);
}
int64_t SimRepositionAltitude(const uint8_t* s) {
  return load_i64le(s + kRepositionAltitude);
}

void SetSimPauseFlag(uint8_t* s, int16_t v) {
  store_i16le(s + kPauseFlag, v);
}
void SetSimSuspendFlag(uint8_t* s, uint8_t v) {
  store_u8(s + kSuspendFlag, v);
}
void SetSimMagneticVariation(uint8_t* s, uint16_t v) {
  store_u16le(s + kMagneticVariation, v);
}
void SetSimAircraftSpeed(uint8_t* s, int32_t v) {
  store_i32le(s + kAircraftSpeed, v);
}
void SetSimAircraftSpeedLow16(uint8_t* s, uint16_t v) {
  store_u16le(s + kAircraftSpeed, v);
}
void SetSimRepositionMode(uint8_t* s, uint8_t v) {
  store_u8(s + kRepositionMode, v);
}
void SetSimOnGround(uint8_t* s, int16_t v) {
  store_i16le(s + kOnGround, v);
}
void SetSimOnGroundByte(uint8_t* s, uint8_t v) {
  store_u8(s + kOnGround, v);
}
void SetSimAircraftPosition(uint8_t* s, const HostPosition& p) {
  StorePosition(s + kAircraftPosition, p);
}
void SetSimAircraftLatitude(uint8_t* s, int64_t v) {
  store_i64le(s + kAircraftLatitude, v);
}
void SetSimAircraftLongitude(uint8_t* s, int64_t v) {
  store_i64le(s + kAircraftLongitude, v);
}
void SetSimAircraftAltitude(uint8_t* s, int64_t v) {
  store_i64le(s + kAircraftAltitude, v);
}
void SetSimAircraftPitch(uint8_t* s, int32_t v) {
  store_i32le(s + kAircraftPitch, v);
}
void SetSimAircraftBank(uint8_t* s, int32_t v) {
  store_i32le(s + kAircraftBank, v);
}
void SetSimAircraftHeading(uint8_t* s, uint32_t v) {
  store_u32le(s + kAircraftHeading, v);
}
void SetSimSlewActive(uint8_t* s, int16_t v) {
  store_i16le(s + kSlewActive, v);
}
void SetSimCrashed(uint8_t* s, int16_t v) {
  store_i16le(s + kCrashed, v);
}
void SetSimConditionIndex(uint8_t* s, uint8_t v) {
  store_u8(s + kConditionIndex, v);
}
void SetSimRepositionRequest(uint8_t* s, int32_t v) {
  store_i32le(s + kRepositionRequest, v);
}
void SetSimRepositionAltitude(uint8_t* s, int64_t v) {
  store_i64le(s + kRepositionAltitude, v);
}
