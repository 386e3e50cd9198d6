#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "sim/sim_aircraft_state.h"
#include "sim/sim_dialogs.h"

// A flight script: JSON lines in tick order, each naming its tick (the
// first call of the tick routine is tick 1) and one thing the pilot or the
// simulator does before that tick runs. The README describes the format.
enum class FlightAction {
  kState,    // sets fields of the aircraft's state
  kCommand,  // a menu command of the module's popup
  kEvent,    // a simulator event (a key)
  kAnswer,   // how the pilot will answer the next dialogs
  kEnd,      // the run ends before this tick
};

struct FlightAnswer {
  std::optional<int32_t> quiz_slot;  // 1 to 3
  std::optional<SimSummaryButton> summary;
};

struct FlightLine {
  int32_t line_number = 0;  // in the file, from 1
  int64_t tick = 0;
  FlightAction action = FlightAction::kState;
  SimAircraftChange state;  // kState
  uint32_t slot = 0;        // kCommand: the popup's slot, 0 to 13
  uint32_t event_id = 0;    // kEvent
  FlightAnswer answer;      // kAnswer
  bool flies = false;       // kState from a "fly" line (the course source's units)
};

struct FlightScript {
  std::vector<FlightLine> lines;  // in file order; ticks never decrease
  // The number of ticks the run lasts: up to the tick before an "end"
  // line, else up to the last tick a line names.
  int64_t TicksToRun() const;
};

struct FlightScriptError {
  int32_t line_number;
  std::string message;
};

// The named places of a course source that "fly" lines may name ("at"),
// in the file's units.
struct FlightPlace {
  int32_t latitude;
  uint32_t longitude;
};
using FlightPlaces = std::map<std::string, FlightPlace>;

// Reads a whole script. On the first bad line it stops and returns what is
// wrong there; the script is then not to be run at all.
std::optional<FlightScriptError> ParseFlightScript(const std::string& text, FlightScript& script,
                                                   const FlightPlaces* places = nullptr);

// A flight of `ticks` ticks in which nothing happens.
FlightScript IdleFlight(int64_t ticks);

// Menu commands by the script's names: "enter" 0, "scores" 1, "repeat" 2,
// "direction" 3, "credits" 4, "quiz" 5, "position:1" to "position:8" 6 to 13.
bool MenuSlotFromName(const std::string& name, uint32_t* slot);
std::string MenuSlotName(uint32_t slot);
