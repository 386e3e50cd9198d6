#include "sim/win32/fs98_tables_win32.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

static_assert(sizeof(void*) == 4, "the simulator's tables hold 32-bit pointers");

// Each table is just large enough for the highest operation it holds.
struct Fs98Tables {
  alignas(4) uint8_t services[fs98::kSetSoundLevel + 4];
  alignas(4) uint8_t geo[fs98::kDistanceAndBearing + 4];
  alignas(4) uint8_t callbacks[fs98::kUnregisterCallback + 4];
  alignas(4) uint8_t text[fs98::kShowText + 4];
  alignas(4) uint8_t sound_settings[fs98::kQuerySoundLevel + 4];
};

Fs98Tables g_tables;
HostOps g_ops;
bool g_serving = false;

const HostOps& Served(const char* op) {
  if (!g_serving) {
    std::fprintf(stderr, "fs98 tables: %s called while no host is served\n", op);
    std::abort();
  }
  return g_ops;
}

// The simulator's operations return a 32-bit value even where the module
// ignores it; these return 0 there.
uint32_t RALLY_STDCALL RegisterCallbackShim(int32_t kind, HostCallback routine) {
  const HostOps& h = Served("register_callback");
  h.register_callback(h.context, kind, routine);
  return 0;
}

uint32_t RALLY_STDCALL UnregisterCallbackShim(int32_t kind, HostCallback routine) {
  const HostOps& h = Served("unregister_callback");
  h.unregister_callback(h.context, kind, routine);
  return 0;
}

uint32_t RALLY_STDCALL IssueCommandShim(uint32_t command, uint32_t zero) {
  const HostOps& h = Served("issue_command");
  h.issue_command(h.context, command, zero);
  return 0;
}

uint32_t RALLY_STDCALL DistanceAndBearingShim(const uint8_t* from, const uint8_t* to,
                                              uint32_t* bearing, int32_t* distance) {
  const HostOps& h = Served("distance_and_bearing");
  h.distance_and_bearing(h.context, from, to, bearing, distance);
  return 0;
}

uint32_t RALLY_STDCALL ShowTextShim(const char* text, int32_t five, int32_t duration,
                                    int32_t zero) {
  const HostOps& h = Served("show_text");
  h.show_text(h.context, text, five, duration, zero);
  return 0;
}

int32_t RALLY_STDCALL LoadSoundShim(const char* name, int32_t two, uint32_t* handle) {
  const HostOps& h = Served("load_sound");
  return h.load_sound(h.context, name, two, handle);
}

int32_t RALLY_STDCALL ReloadSoundShim(const char* name, int32_t two, uint32_t handle, int32_t one) {
  const HostOps& h = Served("reload_sound");
  return h.reload_sound(h.context, name, two, handle, one);
}

uint32_t RALLY_STDCALL ReleaseSoundShim(uint32_t handle) {
  const HostOps& h = Served("release_sound");
  h.release_sound(h.context, handle);
  return 0;
}

uint32_t RALLY_STDCALL PlaySoundShim(uint32_t handle, int32_t zero1, int32_t zero2, int32_t zero3,
                                     SoundDoneRoutine routine) {
  const HostOps& h = Served("play_sound");
  h.play_sound(h.context, handle, zero1, zero2, zero3, routine);
  return 0;
}

uint32_t RALLY_STDCALL SetSoundLevelShim(uint32_t handle, int32_t level) {
  const HostOps& h = Served("set_sound_level");
  h.set_sound_level(h.context, handle, level);
  return 0;
}

int32_t RALLY_STDCALL QuerySoundLevelShim(int32_t which) {
  const HostOps& h = Served("query_sound_level");
  return h.query_sound_level(h.context, which);
}

// Stores a routine's address at a byte offset of a table, as the module's
// binding reads it back.
template <typename Fn>
void Put(uint8_t* table, uint32_t offset, Fn routine) {
  std::memcpy(table + offset, &routine, sizeof routine);
}

void LayOutTables(Fs98Tables& t) {
  std::memset(&t, 0, sizeof t);
  Put(t.callbacks, fs98::kRegisterCallback, &RegisterCallbackShim);
  Put(t.callbacks, fs98::kUnregisterCallback, &UnregisterCallbackShim);
  Put(t.services, fs98::kIssueCommand, &IssueCommandShim);
  Put(t.services, fs98::kLoadSound, &LoadSoundShim);
  Put(t.services, fs98::kReloadSound, &ReloadSoundShim);
  Put(t.services, fs98::kReleaseSound, &ReleaseSoundShim);
  Put(t.services, fs98::kPlaySound, &PlaySoundShim);
  Put(t.services, fs98::kSetSoundLevel, &SetSoundLevelShim);
  Put(t.geo, fs98::kDistanceAndBearing, &DistanceAndBearingShim);
  Put(t.text, fs98::kShowText, &ShowTextShim);
  Put(t.sound_settings, fs98::kQuerySoundLevel, &QuerySoundLevelShim);
}

uint8_t* ModuleAddress(uint32_t module_id) {
  switch (module_id) {
    case fs98::kServicesTable: return g_tables.services;
    case fs98::kSimState: return g_serving ? g_ops.sim_state : nullptr;
    case fs98::kGeoTable: return g_tables.geo;
    case fs98::kCallbackTable: return g_tables.callbacks;
    case fs98::kTextTable: return g_tables.text;
    case fs98::kSoundSettingsTable: return g_tables.sound_settings;
    default: return nullptr;
  }
}

}  // namespace

bool FillFs98ImportTable(ImportEntry* table, SimHost& host) {
  LayOutTables(g_tables);
  g_ops = SimHostOps(host);
  g_serving = true;
  for (int i = 0; i < kImportEntries && table[i].module_id != 0; ++i) {
    uint8_t* module = ModuleAddress(table[i].module_id);
    if (module == nullptr) return false;
    table[i].module_pointer = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(module));
  }
  return true;
}

void StopServingFs98Host() {
  g_serving = false;
  g_ops = HostOps{};
}
