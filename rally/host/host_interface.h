#pragma once

// Layer rally/host, the module's bottom: the simulator's interfaces (host
// operations and the sim_state block, the import table, the calling
// convention), the window side (shell and menu operations), files and the
// heap (platform operations) and little-endian access. It uses nothing else
// of the module.

#include <cstdint>

#include "rally/host/stdcall.h"

// The simulator as the module sees it: a handful of operations and one state
// block. The FS98 binding (32-bit DLL) and the stand-in host (aerilon-sim,
// unit tests) both fill a HostOps; the core calls nothing else.

// Kind-5 (tick) and kind-11 (host event) routines: two 32-bit arguments; for
// an event the first one is the event id.
typedef void(RALLY_STDCALL* HostCallback)(uint32_t first, uint32_t second);
// Completion routine of play_sound: called with the handle that ended.
typedef void(RALLY_STDCALL* SoundDoneRoutine)(uint32_t handle);

enum CallbackKind : int32_t {
  kCallbackTick = 5,
  kCallbackHostEvent = 11,
};

// A position as the host keeps it: latitude, longitude and altitude, each a
// signed 64-bit fixed-point value whose upper 32 bits are the whole part.
constexpr int kPositionBytes = 24;
struct HostPosition {
  int64_t latitude;
  int64_t longitude;
  int64_t altitude;
};
void StorePosition(uint8_t* block, const HostPosition& position);
HostPosition LoadPosition(const uint8_t* block);

struct HostOps {
  void* context;
  uint8_t* sim_state;  // the host's state block, fields at the offsets below

  void (*register_callback)(void* context, int32_t kind, HostCallback routine);
  void (*unregister_callback)(void* context, int32_t kind, HostCallback routine);
  void (*issue_command)(void* context, uint32_t command, uint32_t zero);
  // from, to: 24-byte positions; bearing: true, in the low 16 bits; distance in metres.
  void (*distance_and_bearing)(void* context, const uint8_t* from, const uint8_t* to,
                               uint32_t* bearing, int32_t* distance);
  void (*show_text)(void* context, const char* text, int32_t five, int32_t duration, int32_t zero);
  // 0 = loaded; on failure *handle stays 0.
  int32_t (*load_sound)(void* context, const char* name, int32_t two, uint32_t* handle);
  // 0 = the idle handle now holds the new sound.
  int32_t (*reload_sound)(void* context, const char* name, int32_t two, uint32_t handle,
                          int32_t one);
  void (*release_sound)(void* context, uint32_t handle);
  void (*play_sound)(void* context, uint32_t handle, int32_t zero1, int32_t zero2, int32_t zero3,
                     SoundDoneRoutine routine);
  void (*set_sound_level)(void* context, uint32_t handle, int32_t level);
  int32_t (*query_sound_level)(void* context, int32_t which);
};

// Simulator modules as the ImportTable names them, and the byte offsets of
// the operations inside their function tables.
namespace fs98 {
constexpr uint32_t kServicesTable = 0x01;
constexpr uint32_t kSimState = 0x02;
constexpr uint32_t kGeoTable = 0x03;
constexpr uint32_t kCallbackTable = 0x04;
constexpr uint32_t kTextTable = 0x16;
constexpr uint32_t kSoundSettingsTable = 0x27;

constexpr uint32_t kRegisterCallback = 0x18;    // callback_table
constexpr uint32_t kUnregisterCallback = 0x1C;  // callback_table
constexpr uint32_t kIssueCommand = 0x40;        // services_table
constexpr uint32_t kDistanceAndBearing = 0x70;  // geo_table
constexpr uint32_t kShowText = 0x18;            // text_table
constexpr uint32_t kLoadSound = 0x2D4;          // services_table
constexpr uint32_t kReloadSound = 0x2D8;        // services_table
constexpr uint32_t kReleaseSound = 0x2DC;       // services_table
constexpr uint32_t kPlaySound = 0x2E0;          // services_table
constexpr uint32_t kSetSoundLevel = 0x2EC;      // services_table
constexpr uint32_t kQuerySoundLevel = 0x30;     // sound_settings_table
}  // namespace fs98

// Fields of the sim_state block.
namespace sim_field {
constexpr uint32_t kPauseFlag = 0x264;            // int16
constexpr uint32_t kSuspendFlag = 0x270;          // uint8
constexpr uint32_t kMagneticVariation = 0x2A0;    // 16-bit angle
constexpr uint32_t kAircraftSpeed = 0x2B8;        // int32
constexpr uint32_t kRepositionMode = 0x365;       // uint8
constexpr uint32_t kOnGround = 0x366;             // int16
constexpr uint32_t kAircraftPosition = 0x560;     // position (3 x int64)
constexpr uint32_t kAircraftLatitude = 0x560;     // int64
constexpr uint32_t kAircraftLongitude = 0x568;    // int64
constexpr uint32_t kAircraftAltitude = 0x570;     // int64
constexpr uint32_t kAircraftPitch = 0x578;        // int32
constexpr uint32_t kAircraftBank = 0x57C;         // int32
constexpr uint32_t kAircraftHeading = 0x580;      // uint32, 2^32 = 360 degrees
constexpr uint32_t kSlewActive = 0x5DC;           // int16
constexpr uint32_t kCrashed = 0x832;              // int16
constexpr uint32_t kConditionIndex = 0xB60;       // uint8
constexpr uint32_t kRepositionRequest = 0x11F0;   // int32
constexpr uint32_t kRepositionAltitude = 0x11F8;  // int64, metres
constexpr uint32_t kBlockSize = 0x1200;           // every field above lies below this
}  // namespace sim_field

// Typed access to the state block. Reads take what the module looks at;
// writes exist for the fields the module changes (position commands) and
// for the stand-in host, which plays the simulator's side.
int16_t SimPauseFlag(const uint8_t* s);
uint8_t SimSuspendFlag(const uint8_t* s);
uint16_t SimMagneticVariation(const uint8_t* s);
int32_t SimAircraftSpeed(const uint8_t* s);
uint8_t SimRepositionMode(const uint8_t* s);
int16_t SimOnGround(const uint8_t* s);
HostPosition SimAircraftPosition(const uint8_t* s);
int32_t SimAircraftPitch(const uint8_t* s);
int32_t SimAircraftBank(const uint8_t* s);
uint32_t SimAircraftHeading(const uint8_t* s);
uint16_t SimAircraftHeadingAngle(const uint8_t* s);  // the upper 16 bits
int16_t SimSlewActive(const uint8_t* s);
int16_t SimCrashed(const uint8_t* s);
uint8_t SimConditionIndex(const uint8_t* s);
int32_t SimRepositionRequest(const uint8_t* s);
int64_t SimRepositionAltitude(const uint8_t* s);

void SetSimPauseFlag(uint8_t* s, int16_t v);
void SetSimSuspendFlag(uint8_t* s, uint8_t v);
void SetSimMagneticVariation(uint8_t* s, uint16_t v);
void SetSimAircraftSpeed(uint8_t* s, int32_t v);
void SetSimAircraftSpeedLow16(uint8_t* s, uint16_t v);  // leaves the upper half alone
void SetSimRepositionMode(uint8_t* s, uint8_t v);
void SetSimOnGround(uint8_t* s, int16_t v);
void SetSimOnGroundByte(uint8_t* s, uint8_t v);  // the position commands write one byte
void SetSimAircraftPosition(uint8_t* s, const HostPosition& p);
void SetSimAircraftLatitude(uint8_t* s, int64_t v);
void SetSimAircraftLongitude(uint8_t* s, int64_t v);
void SetSimAircraftAltitude(uint8_t* s, int64_t v);
void SetSimAircraftPitch(uint8_t* s, int32_t v);
void SetSimAircraftBank(uint8_t* s, int32_t v);
void SetSimAircraftHeading(uint8_t* s, uint32_t v);
void SetSimSlewActive(uint8_t* s, int16_t v);
void SetSimCrashed(uint8_t* s, int16_t v);
void SetSimConditionIndex(uint8_t* s, uint8_t v);
void SetSimRepositionRequest(uint8_t* s, int32_t v);
void SetSimRepositionAltitude(uint8_t* s, int64_t v);

// The whole part of a 64-bit fixed-point value, and a value built from one.
inline int32_t UpperWord(int64_t v) {
  return static_cast<int32_t>(static_cast<uint64_t>(v) >> 32);
}
inline int64_t FromUpperWord(int32_t whole) {
  return static_cast<int64_t>(static_cast<uint64_t>(static_cast<uint32_t>(whole)) << 32);
}
