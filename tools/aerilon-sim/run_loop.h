#pragma once

#include <cstdint>
#include <functional>
#include <memory>
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

struct RallyModule;
struct SimHost;

// A run flown tick by tick by a pilot that decides as it goes (the
// autopilot): the module is started when the session is made; each tick,
// the pilot's lines first, then the tick; Finish shuts the module down and
// writes the summary. RunFlight is this session playing a script.
class FlightSession {
 public:
  FlightSession(const RunSetup& setup, TranscriptSink sink);
  ~FlightSession();
  FlightSession(const FlightSession&) = delete;
  FlightSession& operator=(const FlightSession&) = delete;

  void Do(const FlightLine& line);  // before the next tick; an "end" line does nothing
  void Tick();                      // runs the next tick
  void Finish();                    // the trace's last words, shutdown, the summary; once

  int64_t ticks_run() const;
  int32_t init_result() const;
  RallyModule& module();
  const SimHost& host() const;
  // True when the module's popup offers the command of `slot` (its menu is
  // merged into the simulator's bar).
  bool HasMenuCommand(uint32_t slot) const;
  // Called just before the module's dialog `id` is played, with the
  // answers it will be played with; the pilot may change them (they stay
  // changed, as an "answer" line leaves them).
  std::function<void(int32_t id, SimDialogAnswers& answers)> before_dialog;

  struct Run;  // what the run holds, in run_loop.cpp

 private:
  std::unique_ptr<Run> run_;
};

// Before tick N the host first runs the completion routines of prompts
// that have played out, then the flight's lines of tick N in file order,
// then the tick itself. Every observable call goes to `sink` as it
// happens; the last line is the run's summary. Returns ModuleInit's result.
int32_t RunFlight(const RunSetup& setup, const TranscriptSink& sink);
