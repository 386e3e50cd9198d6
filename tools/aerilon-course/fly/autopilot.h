#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "rally/state/race_state.h"
#include "tools/aerilon-course/fly/aircraft_model.h"
#include "tools/aerilon-sim/flight_script.h"
#include "tools/aerilon-sim/run_loop.h"

// The calendar time the autopilot's runs fix for the module's clock
// (2000-01-01 00:00 UTC), so that a flight flies the same every time.
constexpr uint32_t kFlyCalendarTime = 946684800;

struct FlyOptions {
  std::string root;       // the simulator folder with ADV/RALLY/Rally.DAT
  std::vector<int> legs;  // from 0, in the order flown; empty: every leg
  AircraftLimits aircraft;
  uint32_t seed = 1;  // the module's random generator
};

// One target as the autopilot met it, or the reason it did not.
struct FlownTarget {
  std::string name;  // "gate 1.2"; "start box 1"
  bool met = false;
  int64_t tick = 0;
  nlohmann::ordered_json margin;    // met: see TargetMargins
  std::string why;                  // not met: the trace's sentence
  std::vector<std::string> misses;  // the trace's sentence of each pass that failed before
  int64_t seconds = 0;              // since the leg started or the target before was met
  std::string approach;             // how the autopilot went onto it (see ApproachGuide)
};

struct FlownLeg {
  int leg = 0;  // from 0
  bool started = false, finished = false;
  std::string why_not;  // not finished: which target and which condition
  int64_t start_tick = 0, end_tick = 0;
  int32_t seconds = 0;    // as the engine counted them (finished legs)
  int32_t allowance = 0;  // seconds
  LegScore score{};
  std::vector<FlownTarget> targets;  // the start box first
  std::vector<std::string> tracks;   // the trace's sentence of each precision track
  std::vector<std::string> quiz;     // each question asked and how it was answered
};

struct FlyResult {
  int32_t init_result = 0;  // the module's start-up (1: started with the course)
  std::string start;        // where the flight began, in words
  std::vector<FlownLeg> legs;
  FlightScript flight;  // every line the autopilot gave, to be flown again
  int64_t ticks = 0;
};

// The target that took longest to reach, and how; for a leg over its
// allowance. Empty when the leg met no target.
std::string SlowestTarget(const FlownLeg& leg);

// Flies the course of `options.root` with the module on the stand-in, in
// process: enters the race, flies each chosen leg from its start box
// through every target to its end, answers the quiz, and gives up a leg
// that it cannot finish within twice its allowance, or its allowance and a
// quarter of an hour when that is longer, or whose target it has flown
// past eight times. Every transcript line of the run (with the target
// trace) goes to `sink` as it happens.
FlyResult FlyCourse(const FlyOptions& options, const TranscriptSink& sink);
