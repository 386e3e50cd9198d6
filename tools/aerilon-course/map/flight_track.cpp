// The track of a flight script, for the course map.
#include <optional>

#include "rally/race/start_positions.h"
#include "tools/aerilon-course/diagnostics.h"
#include "tools/aerilon-course/map/flight_track.h"
#include "tools/aerilon-sim/flight_script.h"
#include "tools/common/input_file.h"

namespace {

// The aircraft's position as the script leaves it: what a line sets
// replaces what was there, the rest holds.
struct ScriptPosition {
  std::optional<int32_t> lat, lon;
  int32_t alt = 0;

  // True when the line moved the aircraft.
  bool Apply(const FlightLine& line) {
    if (line.action == FlightAction::kState) {
      const SimAircraftChange& s = line.state;
      if (s.latitude) lat = *s.latitude;
      if (s.longitude) lon = static_cast<int32_t>(*s.longitude);
      if (s.altitude) alt = *s.altitude;
      return s.latitude || s.longitude || s.altitude;
    }
    // The "Posizioni" commands put the aircraft on an airfield.
    const StartPosition* p =
        line.action == FlightAction::kCommand ? StartPositionForSlot(line.slot) : nullptr;
    if (p == nullptr) return false;
    lat = static_cast<int32_t>(p->latitude);
    lon = static_cast<int32_t>(p->longitude);
    alt = static_cast<int32_t>(p->metres);
    return true;
  }
};

}  // namespace

bool ReadFlightTrack(const std::string& path, std::vector<TrackPoint>* track, std::string* error) {
  std::string text, problem;
  if (!ReadInputText(path, &text, &problem)) {
    *error = FormatDiagnostic({Severity::kError, path, 0, 0, problem});
    return false;
  }
  FlightScript script;
  if (std::optional<FlightScriptError> fault = ParseFlightScript(text, script)) {
    *error = FormatDiagnostic({Severity::kError, path, fault->line_number, 0, fault->message});
    return false;
  }
  track->clear();
  ScriptPosition position;
  for (const FlightLine& line : script.lines) {
    if (position.Apply(line) && position.lat && position.lon) {
      track->push_back(TrackPoint{*position.lat, *position.lon, position.alt});
    }
  }
  return true;
}
