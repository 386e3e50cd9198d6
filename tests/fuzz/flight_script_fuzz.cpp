// The flight scripts of aerilon-sim, which testers write by hand.
#include <string>

#include "tests/fuzz/fuzz_targets.h"
#include "tools/aerilon-sim/flight_script.h"

int FuzzFlightScript(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  FlightScript script;
  std::optional<FlightScriptError> error = ParseFlightScript(text, script);
  if (error) {
    FuzzCheck(error->line_number >= 1 && !error->message.empty(),
              "a refused script is told at a line, with a reason");
    return 0;
  }
  int64_t tick = 1;
  for (const FlightLine& line : script.lines) {
    FuzzCheck(line.tick >= tick, "ticks start at 1 and never go back");
    tick = line.tick;
    FuzzCheck(line.action != FlightAction::kCommand || line.slot <= 13,
              "a command names one of the popup's 14 slots");
    FuzzCheck(
        !line.answer.quiz_slot || (*line.answer.quiz_slot >= 1 && *line.answer.quiz_slot <= 3),
        "a quiz answer is one of the three slots");
  }
  FuzzCheck(script.TicksToRun() >= 0, "a script runs a count of ticks");
  return 0;
}
