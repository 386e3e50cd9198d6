#include "sim/sim_host.h"

#include <algorithm>

#include "sim/geodesy.h"
#include "sim/sim_state_fields.h"

namespace {

SimHost& Host(void* context) {
  return *static_cast<SimHost*>(context);
}

SimCall& Log(SimHost& h, const char* op, std::vector<int64_t> args, std::string text = {},
             uintptr_t routine = 0) {
  SimCall& call = SimLogCall(h, op);
  call.args = std::move(args);
  call.text = std::move(text);
  call.routine = routine;
  return call;
}

uintptr_t Address(HostCallback r) {
  return reinterpret_cast<uintptr_t>(r);
}

void RegisterCallback(void* c, int32_t kind, HostCallback routine) {
  SimHost& h = Host(c);
  Log(h, "register_callback", {kind}, {}, Address(routine));
  h.callbacks.push_back(SimCallback{kind, routine});
}

void UnregisterCallback(void* c, int32_t kind, HostCallback routine) {
  SimHost& h = Host(c);
  Log(h, "unregister_callback", {kind}, {}, Address(routine));
  auto it = std::find_if(h.callbacks.begin(), h.callbacks.end(), [&](const SimCallback& cb) {
    return cb.kind == kind && cb.routine == routine;
  });
  if (it != h.callbacks.end()) h.callbacks.erase(it);
}

void IssueCommand(void* c, uint32_t command, uint32_t zero) {
  SimHost& h = Host(c);
  Log(h, "issue_command", {command, zero});
  h.pending_commands.push_back(command);
}

void DistanceAndBearing(void* c, const uint8_t* from, const uint8_t* to, uint32_t* bearing,
                        int32_t* distance) {
  SimHost& h = Host(c);
  SimDistanceAndBearing(LoadPosition(from), LoadPosition(to), bearing, distance);
  Log(h, "distance_and_bearing", {*bearing, *distance});
}

void ShowText(void* c, const char* text, int32_t five, int32_t duration, int32_t zero) {
  Log(Host(c), "show_text", {five, duration, zero}, text);
}

SimSound* FindSound(SimHost& h, uint32_t handle) {
  for (SimSound& s : h.sounds) {
    if (s.handle == handle) return &s;
  }
  return nullptr;
}

bool SoundExists(const SimHost& h, const char* name) {
  return !h.sound_exists || h.sound_exists(name);
}

int32_t LoadSound(void* c, const char* name, int32_t two, uint32_t* handle) {
  SimHost& h = Host(c);
  int32_t result = 1;
  if (SoundExists(h, name)) {
    *handle = h.next_sound_handle++;
    h.sounds.push_back(SimSound{*handle, name, false, 0, nullptr});
    result = 0;
  }
  Log(h, "load_sound", {two, result == 0 ? *handle : 0, result}, name);
  return result;
}

int32_t ReloadSound(void* c, const char* name, int32_t two, uint32_t handle, int32_t one) {
  SimHost& h = Host(c);
  SimSound* s = FindSound(h, handle);
  int32_t result = (s != nullptr && !s->playing && SoundExists(h, name)) ? 0 : 1;
  if (result == 0) s->name = name;
  Log(h, "reload_sound", {two, handle, one, result}, name);
  return result;
}

void ReleaseSound(void* c, uint32_t handle) {
  SimHost& h = Host(c);
  SimSound* s = FindSound(h, handle);
  Log(h, "release_sound", {handle}, s ? s->name : std::string());
  h.sounds.erase(std::remove_if(h.sounds.begin(), h.sounds.end(),
                                [&](const SimSound& s) { return s.handle == handle; }),
                 h.sounds.end());
}

void PlaySound(void* c, uint32_t handle, int32_t a, int32_t b, int32_t d, SoundDoneRoutine done) {
  SimHost& h = Host(c);
  SimSound* s = FindSound(h, handle);
  Log(h, "play_sound", {handle, a, b, d}, s ? s->name : std::string(),
      reinterpret_cast<uintptr_t>(done));
  if (s == nullptr) return;
  s->playing = true;
  s->ticks_left = h.prompt_ticks;
  s->done = done;
}

void SetSoundLevel(void* c, uint32_t handle, int32_t level) {
  Log(Host(c), "set_sound_level", {handle, level});
}

int32_t QuerySoundLevel(void* c, int32_t which) {
  SimHost& h = Host(c);
  Log(h, "query_sound_level", {which, h.sound_level});
  return h.sound_level;
}

void DeliverCommands(SimHost& h);

void LogStateWrites(SimHost& h, const std::vector<uint8_t>& before) {
  std::vector<SimFieldValue> changed = ChangedStateFields(before.data(), h.state);
  if (!changed.empty()) SimLogCall(h, "state_written").fields = std::move(changed);
}

// The simulator moves the aircraft where the module asked and takes the
// request back, so the next request is seen afresh.
void CarryOutReposition(SimHost& h) {
  if (SimRepositionRequest(h.state) == 0) return;
  SetSimAircraftAltitude(h.state, SimRepositionAltitude(h.state));
  SetSimRepositionRequest(h.state, 0);
}

// Every call into the module goes through here: what it wrote is seen,
// and the commands it asked for are delivered as soon as it returns.
template <typename Call>
void CallModule(SimHost& h, Call&& call) {
  std::vector<uint8_t> before;
  if (h.log_state_writes) before.assign(h.state, h.state + sim_field::kBlockSize);
  call();
  if (h.log_state_writes) LogStateWrites(h, before);
  if (h.carry_out_repositions) CarryOutReposition(h);
  DeliverCommands(h);
}

void DeliverCommands(SimHost& h) {
  while (!h.pending_commands.empty()) {
    uint32_t command = h.pending_commands.front();
    h.pending_commands.erase(h.pending_commands.begin());
    if (h.deliver_command) CallModule(h, [&] { h.deliver_command(command); });
  }
}

void AdvanceSounds(SimHost& h) {
  std::vector<std::pair<uint32_t, SoundDoneRoutine>> finished;
  for (SimSound& s : h.sounds) {
    if (s.playing && --s.ticks_left <= 0) {
      s.playing = false;
      finished.emplace_back(s.handle, s.done);
    }
  }
  for (auto& [handle, done] : finished) {
    if (done != nullptr) CallModule(h, [&, handle = handle, done = done] { done(handle); });
  }
}

}  // namespace

HostOps SimHostOps(SimHost& host) {
  HostOps ops{};
  ops.context = &host;
  ops.sim_state = host.state;
  ops.register_callback = RegisterCallback;
  ops.unregister_callback = UnregisterCallback;
  ops.issue_command = IssueCommand;
  ops.distance_and_bearing = DistanceAndBearing;
  ops.show_text = ShowText;
  ops.load_sound = LoadSound;
  ops.reload_sound = ReloadSound;
  ops.release_sound = ReleaseSound;
  ops.play_sound = PlaySound;
  ops.set_sound_level = SetSoundLevel;
  ops.query_sound_level = QuerySoundLevel;
  return ops;
}

void SimRunTick(SimHost& h) {
  std::vector<SimCallback> round;
  for (const SimCallback& cb : h.callbacks) {
    if (cb.kind == kCallbackTick) round.push_back(cb);
  }
  for (const SimCallback& cb : round) {
    if (SimRegistrations(h, cb.kind, cb.routine) == 0) continue;
    CallModule(h, [&] { cb.routine(0, 0); });
  }
  h.tick += 1;
  AdvanceSounds(h);
}

void SimSendEvent(SimHost& h, uint32_t event_id) {
  std::vector<SimCallback> round;
  for (const SimCallback& cb : h.callbacks) {
    if (cb.kind == kCallbackHostEvent) round.push_back(cb);
  }
  for (const SimCallback& cb : round) {
    if (SimRegistrations(h, cb.kind, cb.routine) == 0) continue;
    CallModule(h, [&] { cb.routine(event_id, 0); });
  }
}

void SimDeliverCommand(SimHost& h, uint32_t command) {
  h.pending_commands.push_back(command);
  DeliverCommands(h);
}

int64_t SimCallTick(const SimHost& h) {
  return h.tick + 1;
}

SimCall& SimLogCall(SimHost& h, const std::string& op) {
  h.calls.push_back(SimCall{SimCallTick(h), op, {}, {}, 0, {}, {}});
  return h.calls.back();
}

int SimRegistrations(const SimHost& h, int32_t kind, HostCallback routine) {
  return static_cast<int>(std::count_if(
      h.callbacks.begin(), h.callbacks.end(),
      [&](const SimCallback& cb) { return cb.kind == kind && cb.routine == routine; }));
}

int SimCallbacksOfKind(const SimHost& h, int32_t kind) {
  return static_cast<int>(std::count_if(h.callbacks.begin(), h.callbacks.end(),
                                        [&](const SimCallback& cb) { return cb.kind == kind; }));
}

std::vector<const SimCall*> SimCallsNamed(const SimHost& h, const std::string& op) {
  std::vector<const SimCall*> found;
  for (const SimCall& call : h.calls) {
    if (call.op == op) found.push_back(&call);
  }
  return found;
}
