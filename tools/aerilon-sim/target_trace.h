#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rally/state/module.h"
#include "tools/aerilon-sim/json_transcript.h"

// One condition of a target as the race engine tests it on one tick: the
// aircraft's value and the range the target wants.
struct TargetCondition {
  std::string name;  // "altitude", "speed", "heading", "ground"
  bool holds = false;
  double value = 0;  // metres, knots, degrees off the required heading, 1 on the ground
  double low = 0, high = 0;
  std::string unit;  // "m", "kn", "degrees off", ""
};

// What the engine's tests of the current target say on one tick: whether
// the aircraft is inside its box (gates, landings) or radius (waypoints),
// and each other condition.
struct TargetObservation {
  bool inside = false;
  // The room to either side of the aircraft's path: metres to the nearer
  // side of the box that runs along its heading (gates, start boxes,
  // landings), or the radius less the path's distance from the centre
  // (waypoints).
  double inside_m = 0;
  std::vector<TargetCondition> conditions;
};

// The engine's tests of a start box, gate, waypoint or landing record on
// the aircraft as the module samples it now, through the race engine's
// own functions.
TargetObservation ObserveTarget(RallyModule& m, const uint8_t* record);

// How much room each condition had: {"inside_m" (to the side, as above),
// "altitude_m", "speed_kn", "heading_off"} (degrees off the required
// heading), those the target has.
nlohmann::ordered_json TargetMargins(const TargetObservation& o);

// The designer's name of a target: "gate 1.2" is leg 1's second target.
std::string TargetName(const RallyModule& m, const uint8_t* record);

// What the module decided about the legs' targets, tick by tick: while a
// target is current, each run of ticks the aircraft spends inside its box
// or radius with the conditions that held and failed; then the tick it
// was met, or, when the leg ended or the run stopped without it, why not.
// Each report is a transcript line {"tick": N, "trace": {...}}.
class TargetTrace {
 public:
  // `before` is the engine's state before the tick ran, `tick` the tick.
  void AfterTick(RallyModule& m, const RaceEngine& before, int64_t tick,
                 std::vector<TranscriptLine>* out);
  // At the end of the run (before shutdown): a pending target is not met.
  void AtEnd(int64_t tick, std::vector<TranscriptLine>* out);

 private:
  struct Span {
    int64_t first = 0, last = 0;
    std::vector<TargetCondition> low, high;  // each condition's smallest and largest value
  };

  void Observe(RallyModule& m, int64_t tick, std::vector<TranscriptLine>* out);
  void CloseSpan(std::vector<TranscriptLine>* out);
  void Resolve(RallyModule& m, const RaceEngine& before, int64_t tick,
               std::vector<TranscriptLine>* out);
  void NotMet(const std::string& why, int64_t tick, std::vector<TranscriptLine>* out);

  const uint8_t* pending_ = nullptr;  // the target being watched
  std::string name_;
  bool open_ = false;  // a span of ticks inside is running
  Span span_;
  std::vector<Span> spans_;           // the closed spans of the pending target
  nlohmann::ordered_json last_span_;  // the last closed span's report
};

// The text of a trace line, for the human transcript.
std::string TraceText(const TranscriptLine& trace);
