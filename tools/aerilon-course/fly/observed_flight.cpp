#include "tools/aerilon-course/fly/observed_flight.h"

#include <cstdlib>

#include "course_model/course_writer.h"
#include "rally/race/aircraft_sample.h"
#include "rally/state/module.h"
#include "tools/aerilon-course/fly/autopilot.h"
#include "tools/aerilon-sim/run_loop.h"
#include "tools/aerilon-sim/sample_folder.h"

namespace {

// "gate 1.2" is leg 1's second target: leg 0, target 1.
bool ParseTargetName(const std::string& name, TargetVerdict* verdict) {
  size_t space = name.rfind(' '), dot = name.rfind('.');
  if (space == std::string::npos || dot == std::string::npos || dot < space) return false;
  int leg = std::atoi(name.c_str() + space + 1), target = std::atoi(name.c_str() + dot + 1);
  if (leg < 1 || target < 1) return false;
  verdict->leg = static_cast<size_t>(leg - 1);
  verdict->target = static_cast<size_t>(target - 1);
  return true;
}

void KeepVerdict(const TranscriptLine& line, FlightOutcome* outcome) {
  if (!line.contains("trace")) return;
  const TranscriptLine& trace = line["trace"];
  if (!trace.contains("met") || !trace.contains("target")) return;
  TargetVerdict verdict{0, 0, trace["met"].get<bool>()};
  if (ParseTargetName(trace["target"].get<std::string>(), &verdict)) {
    outcome->verdicts.push_back(verdict);
  }
}

void KeepPosition(RallyModule& m, FlightOutcome* outcome) {
  AircraftSample a = SampleAircraft(m);
  int leg = m.race.state == kLegRunning ? m.race.current_leg : -1;
  if (!outcome->track.empty()) {
    const TrackPoint& last = outcome->track.back();
    if (last.lat == a.latitude && last.lon == a.longitude && last.leg == leg) return;
  }
  outcome->track.push_back(TrackPoint{a.latitude, a.longitude, a.altitude, leg});
}

}  // namespace

FlightOutcome ObserveFlight(const CourseDocument& document, const FlightScript& flight,
                            uint32_t seed) {
  FlightOutcome outcome;
  SampleFolder folder(EncodeCourseFile(document.course));
  RunSetup setup;
  setup.root = folder.root().string();
  setup.seed = seed;
  setup.calendar_time = kFlyCalendarTime;
  setup.trace_targets = true;
  FlightSession session(setup,
                        [&outcome](const TranscriptLine& line) { KeepVerdict(line, &outcome); });
  const std::vector<FlightLine>& lines = flight.lines;
  int64_t ticks = flight.TicksToRun();
  size_t next = 0;
  for (int64_t tick = 1; tick <= ticks; ++tick) {
    for (; next < lines.size() && lines[next].tick == tick; ++next) session.Do(lines[next]);
    session.Tick();
    KeepPosition(session.module(), &outcome);
  }
  session.Finish();
  return outcome;
}

FlightPlaces PlacesOf(const CourseDocument& document) {
  FlightPlaces places;
  for (const NamedPlace& place : document.places) {
    places[place.name] = FlightPlace{place.lat, static_cast<uint32_t>(place.lon)};
  }
  return places;
}
