#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct RallyModule;
struct SimHost;
struct SimMenuBar;
struct SoakHeap;

// What must hold of the module and the host after every tick of a soak.
struct SoakViolation {
  std::string invariant;  // which one: "message queue", "heap", ...
  std::string detail;     // the values that broke it
};

// Everything the checks look at.
struct SoakScene {
  const RallyModule& module;
  const SimHost& host;
  const SimMenuBar& menus;
  const SoakHeap& heap;
  uintptr_t simulator_window_proc;  // the window's own procedure, before the hook
  int32_t most_dialogs_open;        // the most of the module's dialogs open at once meanwhile
};

using SoakCheck = std::optional<SoakViolation> (*)(const SoakScene&);

// Five messages at most, countdown and durations agreeing, texts
// terminated, prompts none, in the course or the module's own; the alert's
// priority and hold within range.
std::optional<SoakViolation> CheckMessageQueue(const SoakScene& s);
// The playing prompt is a playing host sound, the waiting one a loaded
// one; no other sound is held for the module.
std::optional<SoakViolation> CheckPromptSlots(const SoakScene& s);
// Never two of the module's dialogs at once, and none left open.
std::optional<SoakViolation> CheckDialogs(const SoakScene& s);
// One tick routine, one event routine, the window hooked once, one popup.
std::optional<SoakViolation> CheckRegistrations(const SoakScene& s);
// The score table agrees with the course: quiz states and counts, take
// counters within their objects' maximum, percentage and points within
// what the counted takes can give, best legs summing up, name slots in
// the course image or the pool.
std::optional<SoakViolation> CheckScoreTable(const SoakScene& s);
// The race's state, leg, record pointer and target lie where they may.
std::optional<SoakViolation> CheckRaceState(const SoakScene& s);
// The module holds exactly the blocks it owns: the course and the name pool.
std::optional<SoakViolation> CheckHeap(const SoakScene& s);

// All of the above, in that order; the first violation.
std::optional<SoakViolation> CheckAfterTick(const SoakScene& s);
// After ModuleDeinit: no routine registered, the window's own procedure
// back, every block freed.
std::optional<SoakViolation> CheckAfterShutdown(const SoakScene& s);
