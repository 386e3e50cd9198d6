// A flight script read for the course map.
#include <optional>

#include "tools/aerilon-course/diagnostics.h"
#include "tools/aerilon-course/map/flight_track.h"
#include "tools/aerilon-sim/flight_script.h"
#include "tools/common/input_file.h"

bool ReadFlightScriptFile(const std::string& path, const FlightPlaces& places, FlightScript* script,
                          std::string* error) {
  std::string text, problem;
  if (!ReadInputText(path, &text, &problem)) {
    *error = FormatDiagnostic({Severity::kError, path, 0, 0, problem});
    return false;
  }
  if (std::optional<FlightScriptError> fault = ParseFlightScript(text, *script, &places)) {
    *error = FormatDiagnostic({Severity::kError, path, fault->line_number, 0, fault->message});
    return false;
  }
  return true;
}
