#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "rally/host/host_interface.h"
#include "rally/host/shell_interface.h"

// The stand-in simulator: a sim_state block at the simulator's offsets, the
// callback table, on-screen text and sounds, and the main window that the
// module hooks. Every call the module makes is kept in `calls`, in order.
// Time: one tick is one round of kind-5 routines, six a second.

// One sim_state field whose value a module call changed (64-bit fields whole).
struct SimFieldValue {
  std::string field;  // its name, as sim_state_fields.h spells it
  uint32_t width;     // in bytes
  int64_t value;
};

// One filled control of a dialog, as the stand-in's dialogs report it.
struct SimControlText {
  int32_t control;
  std::string text;
};

struct SimCall {
  // The tick the call belongs to: the one running, or, for work the host
  // does between ticks (start-up, completion routines, flight lines), the
  // one about to run. Start-up is before tick 1.
  int64_t tick;
  std::string op;  // host operation or window call, by its name
  std::vector<int64_t> args;
  std::string text;                      // a text or name argument, when the call has one
  uintptr_t routine;                     // a routine argument, when the call has one
  std::vector<SimFieldValue> fields;     // state_written: what changed
  std::vector<SimControlText> controls;  // dialog: the filled controls
};

struct SimCallback {
  int32_t kind;
  HostCallback routine;
};

struct SimSound {
  uint32_t handle;
  std::string name;
  bool playing;
  int32_t ticks_left;
  SoundDoneRoutine done;
};

struct SimWindow {
  bool exists = true;
  uintptr_t handle = 0x00010020;
  uintptr_t window_proc = 0x00405000;  // the simulator's own procedure
  bool refuse_subclass = false;        // SetWindowLongA fails
};

struct SimHost {
  uint8_t state[sim_field::kBlockSize] = {};
  std::vector<SimCallback> callbacks;
  std::vector<SimSound> sounds;
  std::vector<SimCall> calls;
  std::vector<uint32_t> pending_commands;
  SimWindow window;
  uintptr_t module_handle = 0x10000000;  // what GetModuleHandleA("RALLY.DLL") answers
  int64_t tick = 0;                      // ticks completed
  int32_t prompt_ticks = 12;             // how long a voice prompt plays
  int32_t sound_level = 80;              // what query_sound_level answers
  uint32_t next_sound_handle = 1;
  bool module_kept_loaded = false;
  // Which prompt names load; all of them unless set.
  std::function<bool(const std::string&)> sound_exists;
  // Answers a dialog the module runs (its result); without it every dialog
  // is closed with OK (1).
  std::function<int32_t(int32_t)> run_dialog;
  // The simulator's registry value "ProductID"; none when the key or the
  // value is missing. A text of more than 29 characters does not fit the
  // module's 30-byte buffer (with its NUL) and reads as missing too.
  std::optional<std::string> product_code = std::string("51234-442-1137906-28471");
  // Receives each issue_command once the callback that asked for it returns.
  std::function<void(uint32_t)> deliver_command;
  // Logs, after each call into the module, the sim_state fields it changed
  // (one "state_written" call).
  bool log_state_writes = false;
  // Plays the simulator's side of a reposition request: after the module
  // call that set it, the aircraft is put at reposition_altitude and the
  // request is cleared.
  bool carry_out_repositions = false;
};

HostOps SimHostOps(SimHost& host);

// One tick: every kind-5 routine registered when the tick begins is called
// (one removed meanwhile is skipped, one added meanwhile waits for the next
// tick); then commands are delivered and prompts advance, finished ones
// calling their completion routine before the next tick.
void SimRunTick(SimHost& host);
// A host event: every kind-11 routine is called with the id first.
void SimSendEvent(SimHost& host, uint32_t event_id);
// A WM_COMMAND of the main window, from the host's own menu (the pilot's
// choice): delivered like an issued command, between ticks.
void SimDeliverCommand(SimHost& host, uint32_t command);

// The tick that calls logged now belong to (see SimCall::tick).
int64_t SimCallTick(const SimHost& host);
// Appends a call to the log, at SimCallTick; for observers of the host.
SimCall& SimLogCall(SimHost& host, const std::string& op);

int SimRegistrations(const SimHost& host, int32_t kind, HostCallback routine);
int SimCallbacksOfKind(const SimHost& host, int32_t kind);
std::vector<const SimCall*> SimCallsNamed(const SimHost& host, const std::string& op);
