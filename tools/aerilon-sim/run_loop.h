#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "tools/aerilon-sim/flight_script.h"
#include "tools/aerilon-sim/json_transcript.h"

// One run of the module on the stand-in simulator: start-up, the flight's
// ticks, shutdown.
struct RunSetup {
  std::string root;  // the simulator folder (ADV/RALLY/Rally.DAT below it)
  FlightScript flight;
  std::optional<uint32_t> seed;           // the module's generator, set after start-up
  std::optional<uint32_t> calendar_time;  // what the module's clock answers
  int32_t prompt_ticks = 12;              // how long a voice prompt plays
  bool require_sound_files = false;       // a prompt loads only if its .wav exists
  bool trace_targets = false;             // "trace" lines: what the engine decided of each target
};

using TranscriptSink = std::function<void(const TranscriptLine&)>;

// Before tick N the host first runs the completion routines of prompts
// that have played out, then the flight's lines of tick N in file order,
// then the tick itself. Every observable call goes to `sink` as it
// happens; the last line is the run's summary. Returns ModuleInit's result.
int32_t RunFlight(const RunSetup& setup, const TranscriptSink& sink);
