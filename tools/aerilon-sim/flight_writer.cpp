#include "tools/aerilon-sim/flight_writer.h"

#include <nlohmann/json.hpp>

namespace {

nlohmann::ordered_json StateFields(const SimAircraftChange& c) {
  nlohmann::ordered_json state = nlohmann::ordered_json::object();
  if (c.latitude) state["lat"] = *c.latitude;
  if (c.longitude) state["lon"] = *c.longitude;
  if (c.altitude) state["alt"] = *c.altitude;
  if (c.speed) state["speed"] = *c.speed;
  if (c.heading) state["heading"] = *c.heading;
  if (c.on_ground) state["on_ground"] = *c.on_ground;
  if (c.crashed) state["crashed"] = *c.crashed;
  if (c.slew) state["slew"] = *c.slew;
  if (c.pause) state["pause"] = *c.pause;
  if (c.suspend) state["suspend"] = *c.suspend;
  if (c.condition) state["condition"] = *c.condition;
  if (c.magnetic_variation) state["magvar"] = *c.magnetic_variation;
  return state;
}

nlohmann::ordered_json Answers(const FlightAnswer& a) {
  nlohmann::ordered_json answer = nlohmann::ordered_json::object();
  if (a.quiz_slot) answer["quiz"] = *a.quiz_slot;
  if (a.summary) answer["summary"] = *a.summary == SimSummaryButton::kExit ? "exit" : "ok";
  return answer;
}

}  // namespace

std::string FlightLineText(const FlightLine& line) {
  nlohmann::ordered_json out;
  out["tick"] = line.tick;
  switch (line.action) {
    case FlightAction::kState: out["state"] = StateFields(line.state); break;
    case FlightAction::kCommand: out["command"] = MenuSlotName(line.slot); break;
    case FlightAction::kEvent: out["event"] = line.event_id; break;
    case FlightAction::kAnswer: out["answer"] = Answers(line.answer); break;
    case FlightAction::kEnd: out["end"] = true; break;
  }
  return out.dump();
}
