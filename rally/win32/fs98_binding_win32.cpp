#include "rally/win32/fs98_binding_win32.h"

#include <cstring>

namespace {

struct Fs98Modules {
  uint8_t* services;
  uint8_t* geo;
  uint8_t* callbacks;
  uint8_t* text;
  uint8_t* sound_settings;
};

Fs98Modules g_modules;

uint8_t* FindModule(const ImportEntry* table, uint32_t id) {
  for (int i = 0; i < kImportEntries && table[i].module_id != 0; ++i) {
    if (table[i].module_id == id) return reinterpret_cast<uint8_t*>(table[i].module_pointer);
  }
  return nullptr;
}

// The function pointer stored at a byte offset of a simulator table.
template <typename Fn>
Fn Op(const uint8_t* table, uint32_t offset) {
  Fn fn;
  std::memcpy(&fn, table + offset, sizeof fn);
  return fn;
}

typedef uint32_t(RALLY_STDCALL* CallbackFn)(int32_t, HostCallback);
typedef uint32_t(RALLY_STDCALL* IssueCommandFn)(uint32_t, uint32_t);
typedef uint32_t(RALLY_STDCALL* DistanceFn)(const uint8_t*, const uint8_t*, uint32_t*, int32_t*);
typedef uint32_t(RALLY_STDCALL* ShowTextFn)(const char*, int32_t, int32_t, int32_t);
typedef int32_t(RALLY_STDCALL* LoadSoundFn)(const char*, int32_t, uint32_t*);
typedef int32_t(RALLY_STDCALL* ReloadSoundFn)(const char*, int32_t, uint32_t, int32_t);
typedef uint32_t(RALLY_STDCALL* ReleaseSoundFn)(uint32_t);
typedef uint32_t(RALLY_STDCALL* PlaySoundFn)(uint32_t, int32_t, int32_t, int32_t, SoundDoneRoutine);
typedef uint32_t(RALLY_STDCALL* SetLevelFn)(uint32_t, int32_t);
typedef int32_t(RALLY_STDCALL* QueryLevelFn)(int32_t);

void RegisterCallback(void*, int32_t kind, HostCallback routine) {
  Op<CallbackFn>(g_modules.callbacks, fs98::kRegisterCallback)(kind, routine);
}
void UnregisterCallback(void*, int32_t kind, HostCallback routine) {
  Op<CallbackFn>(g_modules.callbacks, fs98::kUnregisterCallback)(kind, routine);
}
void IssueCommand(void*, uint32_t command, uint32_t zero) {
  Op<IssueCommandFn>(g_modules.services, fs98::kIssueCommand)(command, zero);
}
void DistanceAndBearing(void*, const uint8_t* from, const uint8_t* to, uint32_t* bearing,
                        int32_t* distance) {
  Op<DistanceFn>(g_modules.geo, fs98::kDistanceAndBearing)(from, to, bearing, distance);
}
void ShowText(void*, const char* text, int32_t five, int32_t duration, int32_t zero) {
  Op<ShowTextFn>(g_modules.text, fs98::kShowText)(text, five, duration, zero);
}
int32_t LoadSound(void*, const char* name, int32_t two, uint32_t* handle) {
  return Op<LoadSoundFn>(g_modules.services, fs98::kLoadSound)(name, two, handle);
}
int32_t ReloadSound(void*, const char* name, int32_t two, uint32_t handle, int32_t one) {
  return Op<ReloadSoundFn>(g_modules.services, fs98::kReloadSound)(name, two, handle, one);
}
void ReleaseSound(void*, uint32_t handle) {
  Op<ReleaseSoundFn>(g_modules.services, fs98::kReleaseSound)(handle);
}
void PlaySound(void*, uint32_t handle, int32_t a, int32_t b, int32_t c, SoundDoneRoutine done) {
  Op<PlaySoundFn>(g_modules.services, fs98::kPlaySound)(handle, a, b, c, done);
}
void SetSoundLevel(void*, uint32_t handle, int32_t level) {
  Op<SetLevelFn>(g_modules.services, fs98::kSetSoundLevel)(handle, level);
}
int32_t QuerySoundLevel(void*, int32_t which) {
  return Op<QueryLevelFn>(g_modules.sound_settings, fs98::kQuerySoundLevel)(which);
}

}  // namespace

bool BindFs98Host(const ImportEntry* table, HostOps* ops) {
  Fs98Modules modules{FindModule(table, fs98::kServicesTable), FindModule(table, fs98::kGeoTable),
                      FindModule(table, fs98::kCallbackTable), FindModule(table, fs98::kTextTable),
                      FindModule(table, fs98::kSoundSettingsTable)};
  uint8_t* sim_state = FindModule(table, fs98::kSimState);
  if (!modules.services || !modules.geo || !modules.callbacks || !modules.text ||
      !modules.sound_settings || !sim_state) {
    return false;
  }
  g_modules = modules;
  *ops = HostOps{};
  ops->sim_state = sim_state;
  ops->register_callback = RegisterCallback;
  ops->unregister_callback = UnregisterCallback;
  ops->issue_command = IssueCommand;
  ops->distance_and_bearing = DistanceAndBearing;
  ops->show_text = ShowText;
  ops->load_sound = LoadSound;
  ops->reload_sound = ReloadSound;
  ops->release_sound = ReleaseSound;
  ops->play_sound = PlaySound;
  ops->set_sound_level = SetSoundLevel;
  ops->query_sound_level = QuerySoundLevel;
  return true;
}
