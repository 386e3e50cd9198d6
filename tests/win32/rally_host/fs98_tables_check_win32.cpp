// The stand-in host's tables called the way RALLY.DLL calls them: each
// operation at its byte offset, with the simulator's argument lists and
// __stdcall, must reach the host and be logged as it is natively.
#include <cstring>

#include "sim/win32/fs98_tables_win32.h"
#include "tests/win32/rally_host/call_expectations_win32.h"
#include "tests/win32/rally_host/dll_cases_win32.h"

namespace {

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

void RALLY_STDCALL SomeTickRoutine(uint32_t, uint32_t) {}
void RALLY_STDCALL SomeDoneRoutine(uint32_t) {}

class FilledTable {
 public:
  explicit FilledTable(SimHost& host) : filled_(FillFs98ImportTable(entries_, host)) {}
  bool filled() const { return filled_; }
  const ImportEntry* entries() const { return entries_; }

  const uint8_t* Module(uint32_t id) const {
    for (const ImportEntry& e : entries_) {
      if (e.module_id == id) return reinterpret_cast<const uint8_t*>(e.module_pointer);
    }
    return nullptr;
  }
  template <typename Fn>
  Fn Op(uint32_t id, uint32_t offset) const {
    Fn fn;
    std::memcpy(&fn, Module(id) + offset, sizeof fn);
    return fn;
  }

 private:
  ImportEntry entries_[kImportEntries] = {{fs98::kServicesTable, 0},
                                          {fs98::kSimState, 0},
                                          {fs98::kGeoTable, 0},
                                          {fs98::kCallbackTable, 0},
                                          {fs98::kTextTable, 0},
                                          {fs98::kSoundSettingsTable, 0},
                                          {0, 0}};
  bool filled_;
};

bool LastCallIs(const SimHost& host, const char* op, const std::vector<int64_t>& args,
                const std::string& text = {}) {
  return !host.calls.empty() && host.calls.back().op == op && host.calls.back().args == args &&
         host.calls.back().text == text;
}

void CheckCallbackTable(CheckReport& r, const std::string& p, SimHost& host, const FilledTable& t) {
  auto routine = &SomeTickRoutine;
  uintptr_t address = reinterpret_cast<uintptr_t>(routine);
  t.Op<CallbackFn>(fs98::kCallbackTable, fs98::kRegisterCallback)(kCallbackTick, routine);
  r.Expect(IsCallbackCall(host.calls.back(), "register_callback", kCallbackTick, address) &&
               SimRegistrations(host, kCallbackTick, routine) == 1,
           p + "register_callback at 4+0x18 registers the routine", DescribeSimCalls(host));
  t.Op<CallbackFn>(fs98::kCallbackTable, fs98::kUnregisterCallback)(kCallbackTick, routine);
  r.Expect(IsCallbackCall(host.calls.back(), "unregister_callback", kCallbackTick, address) &&
               host.callbacks.empty(),
           p + "unregister_callback at 4+0x1C removes it", DescribeSimCalls(host));
}

void CheckSoundCalls(CheckReport& r, const std::string& p, SimHost& host, const FilledTable& t) {
  uint32_t handle = 0;
  int32_t loaded =
      t.Op<LoadSoundFn>(fs98::kServicesTable, fs98::kLoadSound)("gate.wav", 2, &handle);
  r.Expect(loaded == 0 && handle != 0 && LastCallIs(host, "load_sound", {2, handle, 0}, "gate.wav"),
           p + "load_sound at 1+0x2D4 loads and hands out a handle", DescribeSimCalls(host));
  int32_t reloaded =
      t.Op<ReloadSoundFn>(fs98::kServicesTable, fs98::kReloadSound)("lap.wav", 2, handle, 1);
  r.Expect(reloaded == 0 && LastCallIs(host, "reload_sound", {2, handle, 1, 0}, "lap.wav"),
           p + "reload_sound at 1+0x2D8 reloads the idle handle", DescribeSimCalls(host));
  t.Op<PlaySoundFn>(fs98::kServicesTable, fs98::kPlaySound)(handle, 0, 0, 0, &SomeDoneRoutine);
  r.Expect(LastCallIs(host, "play_sound", {handle, 0, 0, 0}, "lap.wav") &&
               host.calls.back().routine == reinterpret_cast<uintptr_t>(&SomeDoneRoutine) &&
               host.sounds.size() == 1 && host.sounds[0].playing,
           p + "play_sound at 1+0x2E0 plays it with the completion routine",
           DescribeSimCalls(host));
  t.Op<SetLevelFn>(fs98::kServicesTable, fs98::kSetSoundLevel)(handle, 37);
  r.Expect(LastCallIs(host, "set_sound_level", {handle, 37}), p + "set_sound_level at 1+0x2EC",
           DescribeSimCalls(host));
  t.Op<ReleaseSoundFn>(fs98::kServicesTable, fs98::kReleaseSound)(handle);
  r.Expect(LastCallIs(host, "release_sound", {handle}, "lap.wav") && host.sounds.empty(),
           p + "release_sound at 1+0x2DC releases it", DescribeSimCalls(host));
  host.sound_level = 63;
  int32_t level = t.Op<QueryLevelFn>(fs98::kSoundSettingsTable, fs98::kQuerySoundLevel)(4);
  r.Expect(level == 63 && LastCallIs(host, "query_sound_level", {4, 63}),
           p + "query_sound_level at 0x27+0x30 answers the host's level", DescribeSimCalls(host));
}

void CheckOtherServices(CheckReport& r, const std::string& p, SimHost& host, const FilledTable& t) {
  t.Op<IssueCommandFn>(fs98::kServicesTable, fs98::kIssueCommand)(0x10B5, 0);
  r.Expect(LastCallIs(host, "issue_command", {0x10B5, 0}) && host.pending_commands.size() == 1 &&
               host.pending_commands[0] == 0x10B5,
           p + "issue_command at 1+0x40 queues the command", DescribeSimCalls(host));

  t.Op<ShowTextFn>(fs98::kTextTable, fs98::kShowText)("Gate 3 passed", 5, 18, 0);
  r.Expect(LastCallIs(host, "show_text", {5, 18, 0}, "Gate 3 passed"),
           p + "show_text at 0x16+0x18 shows the text", DescribeSimCalls(host));

  uint8_t from[kPositionBytes];
  uint8_t to[kPositionBytes];
  StorePosition(from, HostPosition{FromUpperWord(5000), FromUpperWord(7000), 0});
  StorePosition(to, HostPosition{FromUpperWord(5400), FromUpperWord(7000), 0});
  uint32_t bearing = 0xFFFFFFFF;
  int32_t distance = -1;
  t.Op<DistanceFn>(fs98::kGeoTable, fs98::kDistanceAndBearing)(from, to, &bearing, &distance);
  r.Expect(distance > 0 && LastCallIs(host, "distance_and_bearing", {bearing, distance}),
           p + "distance_and_bearing at 3+0x70 answers through its out arguments",
           "bearing " + std::to_string(bearing) + ", distance " + std::to_string(distance) + "; " +
               DescribeSimCalls(host));
}

}  // namespace

void CheckFs98Tables(CheckReport& r) {
  const std::string p = "fs98 tables: ";
  SimHost host;
  FilledTable table(host);
  bool all_set = table.filled() && table.Module(fs98::kSimState) == host.state;
  for (int i = 0; i + 1 < kImportEntries; ++i) {
    all_set = all_set && table.entries()[i].module_pointer != 0;
  }
  if (!r.Expect(all_set, p + "every module pointer filled, module 2 is the host's state block",
                "FillFs98ImportTable left an entry unset")) {
    return;
  }
  CheckCallbackTable(r, p, host, table);
  CheckOtherServices(r, p, host, table);
  CheckSoundCalls(r, p, host, table);

  ImportEntry unknown[kImportEntries] = {{fs98::kServicesTable, 0}, {0x99, 0}, {0, 0}};
  r.Expect(!FillFs98ImportTable(unknown, host) && unknown[1].module_pointer == 0,
           p + "an ImportTable naming an unknown module is refused", "it was filled");
  StopServingFs98Host();
}
