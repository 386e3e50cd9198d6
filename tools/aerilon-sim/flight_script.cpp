#include "tools/aerilon-sim/flight_script.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "common/printable_text.h"
#include "tools/aerilon-course/source/designer_units.h"
#include "tools/aerilon-course/source/designer_values.h"
#include "tools/aerilon-course/source/nearest_name.h"

using nlohmann::json;

namespace {

constexpr int64_t kLastTick = std::numeric_limits<int32_t>::max();

// What is wrong with one line; thrown inside the parser, caught per line.
struct LineFault {
  std::string message;
};

[[noreturn]] void Fault(const std::string& message) {
  throw LineFault{message};
}

std::string Quoted(const std::string& name) {
  return "\"" + name + "\"";
}

// A whole number: a JSON integer, or a text in C notation ("0x2CB9F3", "-12").
bool ReadWhole(const json& value, int64_t* out) {
  if (value.is_number_integer()) {
    if (value.is_number_unsigned() && value.get<uint64_t>() > static_cast<uint64_t>(INT64_MAX)) {
      return false;
    }
    *out = value.get<int64_t>();
    return true;
  }
  if (!value.is_string()) return false;
  const std::string& text = value.get_ref<const std::string&>();
  if (text.empty()) return false;
  // Decimal, or hexadecimal after "0x"; never octal, so "010" is ten.
  size_t digits = (text[0] == '-' || text[0] == '+') ? 1 : 0;
  bool hex = text.compare(digits, 2, "0x") == 0 || text.compare(digits, 2, "0X") == 0;
  try {
    size_t used = 0;
    long long parsed = std::stoll(text, &used, hex ? 16 : 10);
    if (used != text.size()) return false;
    *out = parsed;
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

int64_t WholeInRange(const json& value, const std::string& where, int64_t low, int64_t high,
                     const std::string& what) {
  int64_t v = 0;
  if (!ReadWhole(value, &v) || v < low || v > high) {
    Fault(where + " must be " + what + ", not " + value.dump());
  }
  return v;
}

// Flags take true and false, or a whole number.
int64_t Flag(const json& value, const std::string& where, int64_t low, int64_t high) {
  if (value.is_boolean()) return value.get<bool>() ? 1 : 0;
  return WholeInRange(
      value, where, low, high,
      "true, false or a whole number from " + std::to_string(low) + " to " + std::to_string(high));
}

SimAircraftChange ReadState(const json& state) {
  if (!state.is_object()) Fault("\"state\" must be an object of aircraft fields");
  SimAircraftChange c;
  for (const auto& [name, value] : state.items()) {
    std::string where = "\"state\"." + Quoted(name);
    if (name == "lat") {
      c.latitude = static_cast<int32_t>(
          WholeInRange(value, where, INT32_MIN, INT32_MAX, "a 32-bit latitude word"));
    } else if (name == "lon") {
      c.longitude = static_cast<uint32_t>(
          WholeInRange(value, where, INT32_MIN, UINT32_MAX, "a 32-bit longitude word"));
    } else if (name == "alt") {
      c.altitude = static_cast<int32_t>(
          WholeInRange(value, where, INT32_MIN, INT32_MAX, "whole metres (32-bit)"));
    } else if (name == "speed") {
      c.speed = static_cast<int32_t>(
          WholeInRange(value, where, INT32_MIN, INT32_MAX, "a 32-bit speed (knots x 128)"));
    } else if (name == "heading") {
      c.heading =
          static_cast<uint16_t>(WholeInRange(value, where, 0, 65535, "a 16-bit angle, 0 to 65535"));
    } else if (name == "magvar") {
      c.magnetic_variation =
          static_cast<uint16_t>(WholeInRange(value, where, 0, 65535, "a 16-bit angle, 0 to 65535"));
    } else if (name == "condition") {
      c.condition = static_cast<uint8_t>(WholeInRange(value, where, 0, 255, "0 to 255"));
    } else if (name == "on_ground") {
      c.on_ground = static_cast<int16_t>(Flag(value, where, INT16_MIN, INT16_MAX));
    } else if (name == "crashed") {
      c.crashed = static_cast<int16_t>(Flag(value, where, INT16_MIN, INT16_MAX));
    } else if (name == "slew") {
      c.slew = static_cast<int16_t>(Flag(value, where, INT16_MIN, INT16_MAX));
    } else if (name == "pause") {
      c.pause = static_cast<int16_t>(Flag(value, where, INT16_MIN, INT16_MAX));
    } else if (name == "suspend") {
      c.suspend = static_cast<uint8_t>(Flag(value, where, 0, 255));
    } else {
      Fault("\"state\": unknown field " + Quoted(name) +
            " (known: lat, lon, alt, speed, heading, on_ground, crashed, slew, pause, suspend, "
            "condition, magvar)");
    }
  }
  return c;
}

// A value of a "fly" line in the course source's units: a number in the
// dimension's unit, or a text with its unit ("1500 ft", "N26 22.5").
int32_t DesignerField(const json& value, const std::string& where, Dimension dimension) {
  DesignerValue v;
  if (value.is_number()) {
    v.is_number = true;
    v.number = value.get<double>();
  } else if (value.is_string()) {
    v.text = value.get<std::string>();
  } else {
    Fault(where + " must be " + ExpectedValue(dimension) + ", not " + value.dump());
  }
  std::string error;
  std::optional<int32_t> units = FileUnits(dimension, v, &error);
  if (!units) Fault(where + " must be " + ExpectedValue(dimension) + ", not " + value.dump());
  return *units;
}

// The position of a named place of the course source.
void PlaceAt(const json& value, const FlightPlaces* places, SimAircraftChange& c) {
  if (!value.is_string()) Fault("\"fly\".\"at\" must be the name of a place, not " + value.dump());
  std::string name = value.get<std::string>();
  if (places == nullptr) {
    Fault("\"fly\".\"at\" names a place of a course source: give the source (--course SOURCE)");
  }
  auto found = places->find(name);
  if (found == places->end()) {
    std::vector<std::string> names;
    for (const auto& [known, place] : *places) names.push_back(known);
    std::optional<std::string> near = NearestName(name, names);
    Fault("\"fly\".\"at\": the course has no place " + Quoted(name) +
          (near ? " (did you mean " + Quoted(*near) + "?)" : ""));
  }
  c.latitude = found->second.latitude;
  c.longitude = found->second.longitude;
}

// A "fly" line: the aircraft's position, altitude, speed and heading as a
// course source gives them. A position needs both lat and lon, or "at".
SimAircraftChange ReadFly(const json& fly, const FlightPlaces* places) {
  if (!fly.is_object())
    Fault("\"fly\" must be an object of lat, lon, alt, speed, heading, on_ground");
  SimAircraftChange c;
  for (const auto& [name, value] : fly.items()) {
    std::string where = "\"fly\"." + Quoted(name);
    if (name == "lat") {
      c.latitude = DesignerField(value, where, Dimension::kLatitude);
    } else if (name == "lon") {
      c.longitude = static_cast<uint32_t>(DesignerField(value, where, Dimension::kLongitude));
    } else if (name == "alt") {
      c.altitude = DesignerField(value, where, Dimension::kAltitude);
    } else if (name == "speed") {
      c.speed = DesignerField(value, where, Dimension::kSpeed);
    } else if (name == "heading") {
      c.heading = static_cast<uint16_t>(DesignerField(value, where, Dimension::kRadial));
    } else if (name == "on_ground") {
      c.on_ground = static_cast<int16_t>(Flag(value, where, INT16_MIN, INT16_MAX));
    } else if (name != "at") {
      Fault("\"fly\": unknown field " + Quoted(name) +
            " (known: at, lat, lon, alt, speed, heading, on_ground)");
    }
  }
  if (fly.contains("at")) {
    if (c.latitude || c.longitude)
      Fault("\"fly\": give a place (\"at\") or \"lat\" and \"lon\", not both");
    PlaceAt(fly.at("at"), places, c);
  }
  if (c.latitude.has_value() != c.longitude.has_value()) {
    Fault("\"fly\": a position needs both \"lat\" and \"lon\"");
  }
  return c;
}

FlightAnswer ReadAnswer(const json& answer) {
  if (!answer.is_object()) Fault("\"answer\" must be an object with \"quiz\" and/or \"summary\"");
  FlightAnswer a;
  for (const auto& [name, value] : answer.items()) {
    if (name == "quiz") {
      a.quiz_slot = static_cast<int32_t>(
          WholeInRange(value, "\"answer\".\"quiz\"", 1, 3, "the radio slot 1, 2 or 3"));
    } else if (name == "summary") {
      SimSummaryButton button;
      if (!value.is_string() || !ParseSimSummaryButton(value.get<std::string>(), &button)) {
        Fault("\"answer\".\"summary\" must be \"ok\" or \"exit\", not " + value.dump());
      }
      a.summary = button;
    } else {
      Fault("\"answer\": unknown field " + Quoted(name) + " (known: quiz, summary)");
    }
  }
  return a;
}

uint32_t ReadCommand(const json& command) {
  uint32_t slot = 0;
  if (!command.is_string() || !MenuSlotFromName(command.get<std::string>(), &slot)) {
    Fault("unknown command " + command.dump() +
          " (known: enter, scores, repeat, direction, credits, quiz, position:1 to position:8)");
  }
  return slot;
}

const char* const kActions[] = {"state", "fly", "command", "event", "answer", "end"};

void ReadAction(const json& line, FlightLine& out, const FlightPlaces* places) {
  const char* found = nullptr;
  for (const char* action : kActions) {
    if (!line.contains(action)) continue;
    if (found != nullptr) {
      Fault(std::string("a line does one thing; this one has both ") + Quoted(found) + " and " +
            Quoted(action));
    }
    found = action;
  }
  if (found == nullptr) {
    Fault("nothing to do: give one of state, fly, command, event, answer or end");
  }
  const json& value = line.at(found);
  std::string action = found;
  if (action == "state") {
    out.action = FlightAction::kState;
    out.state = ReadState(value);
  } else if (action == "fly") {
    out.action = FlightAction::kState;
    out.state = ReadFly(value, places);
    out.flies = true;
  } else if (action == "command") {
    out.action = FlightAction::kCommand;
    out.slot = ReadCommand(value);
  } else if (action == "event") {
    out.action = FlightAction::kEvent;
    out.event_id =
        static_cast<uint32_t>(WholeInRange(value, "\"event\"", 0, UINT32_MAX, "a 32-bit event id"));
  } else if (action == "answer") {
    out.action = FlightAction::kAnswer;
    out.answer = ReadAnswer(value);
  } else {
    if (!value.is_boolean() || !value.get<bool>()) Fault("\"end\" must be true");
    out.action = FlightAction::kEnd;
  }
}

// Parses one line as JSON, refusing a field given twice in one object
// (JSON readers would silently keep the last).
json ParseStrict(const std::string& text) {
  std::vector<std::set<std::string>> open;
  std::string twice;
  json::parser_callback_t check = [&](int, json::parse_event_t event, json& parsed) {
    if (event == json::parse_event_t::object_start) {
      open.emplace_back();
    } else if (event == json::parse_event_t::object_end) {
      open.pop_back();
    } else if (event == json::parse_event_t::key && !open.empty()) {
      std::string name = parsed.get<std::string>();
      if (!open.back().insert(name).second && twice.empty()) twice = name;
    }
    return true;
  };
  json parsed;
  try {
    parsed = json::parse(text, check);
  } catch (const json::parse_error& e) {
    // The reader counts lines within the one line it was given: keep only
    // the column and what it found there.
    std::string what = e.what();
    size_t column = what.find("column ");
    Fault("not valid JSON: " + (column == std::string::npos ? what : what.substr(column)));
  } catch (const json::out_of_range&) {
    // A number past what a double holds ("1e999") is not a value any field takes.
    Fault("a number too large to read");
  }
  if (!twice.empty()) Fault("field " + Quoted(twice) + " is given twice");
  return parsed;
}

FlightLine ReadLine(const std::string& text, int32_t line_number, const FlightPlaces* places) {
  json line = ParseStrict(text);
  if (!line.is_object()) Fault("a line must be one JSON object");
  for (const auto& [name, value] : line.items()) {
    bool known = name == "tick";
    for (const char* action : kActions) known = known || name == action;
    if (!known) {
      Fault("unknown field " + Quoted(name) +
            " (known: tick, state, fly, command, event, answer, end)");
    }
  }
  if (!line.contains("tick")) Fault("no \"tick\": every line says before which tick it acts");
  FlightLine out;
  out.line_number = line_number;
  out.tick = WholeInRange(line.at("tick"), "\"tick\"", 1, kLastTick,
                          "a whole number from 1 to " + std::to_string(kLastTick));
  ReadAction(line, out, places);
  return out;
}

// The heading along the straight line from one position to the next.
uint16_t AlongTheLine(const FlightLine& from, const FlightLine& to) {
  double bearing = designer_units::InitialBearing(
      *from.state.latitude, static_cast<int32_t>(*from.state.longitude), *to.state.latitude,
      static_cast<int32_t>(*to.state.longitude));
  return static_cast<uint16_t>(std::lround(bearing * 65536.0 / 360.0) & 0xFFFF);
}

// The lines of the ticks between two "fly" lines that give a position:
// the aircraft moves along the straight line between them, one step a
// tick, heading along that line unless the line it flies to gives a
// heading; its altitude turns into that line's when it gives one and the
// altitude before is known, else it stays (level flight).
std::vector<FlightLine> Movement(const FlightLine& from, const FlightLine& to,
                                 std::optional<int32_t> altitude) {
  std::vector<FlightLine> steps;
  double lat0 = *from.state.latitude, lat1 = *to.state.latitude;
  uint32_t lon0 = *from.state.longitude;
  double east = static_cast<int32_t>(*to.state.longitude - lon0);
  uint16_t heading = to.state.heading.value_or(AlongTheLine(from, to));
  int64_t ticks = to.tick - from.tick;
  for (int64_t t = 1; t < ticks; ++t) {
    double f = static_cast<double>(t) / static_cast<double>(ticks);
    FlightLine step;
    step.line_number = to.line_number;
    step.tick = from.tick + t;
    step.state.latitude = static_cast<int32_t>(std::lround(lat0 + (lat1 - lat0) * f));
    step.state.longitude = lon0 + static_cast<uint32_t>(std::lround(east * f));
    step.state.heading = heading;
    if (to.state.altitude && altitude) {
      step.state.altitude =
          static_cast<int32_t>(std::lround(*altitude + (*to.state.altitude - *altitude) * f));
    }
    steps.push_back(step);
  }
  return steps;
}

// Adds the movement between each two "fly" lines that give a position;
// the first of the two also turns the aircraft along the line when it
// gives no heading of its own. The steps come before the file's own lines
// of their ticks.
// The most ticks of movement a script may ask for, about 46 hours of
// flight: each tick of movement is a line held in memory.
constexpr int64_t kMostMovementTicks = 1000000;

std::optional<FlightScriptError> AddMovement(FlightScript& script) {
  std::vector<FlightLine>& lines = script.lines;
  int64_t moving = 0;
  std::vector<FlightLine> steps;
  size_t last = lines.size();       // the last "fly" line with a position, if any
  std::optional<int32_t> altitude;  // the altitude the lines have set so far
  std::optional<int32_t> altitude_at_last;
  for (size_t i = 0; i < lines.size(); ++i) {
    const FlightLine& line = lines[i];
    bool position = line.flies && line.state.latitude.has_value();
    if (position && last < lines.size() && line.tick > lines[last].tick) {
      FlightLine& from = lines[last];
      moving += line.tick - from.tick;
      if (moving > kMostMovementTicks) {
        return FlightScriptError{
            line.line_number, "the \"fly\" lines so far move the aircraft for " +
                                  std::to_string(moving) + " ticks; a flight moves for at most " +
                                  std::to_string(kMostMovementTicks) + " (46 hours)"};
      }
      if (!from.state.heading)
        from.state.heading = line.state.heading.value_or(AlongTheLine(from, line));
      for (FlightLine& step : Movement(from, line, altitude_at_last)) steps.push_back(step);
    }
    if (line.state.altitude) altitude = line.state.altitude;
    if (position) {
      last = i;
      altitude_at_last = altitude;
    }
  }
  // On a tie std::merge takes the step first: the file's lines of a tick
  // act after the step.
  std::vector<FlightLine> merged;
  std::merge(steps.begin(), steps.end(), lines.begin(), lines.end(), std::back_inserter(merged),
             [](const FlightLine& a, const FlightLine& b) { return a.tick < b.tick; });
  lines = std::move(merged);
  return std::nullopt;
}

bool IsBlank(const std::string& text) {
  return text.find_first_not_of(" \t\r") == std::string::npos;
}

}  // namespace

int64_t FlightScript::TicksToRun() const {
  if (lines.empty()) return 0;
  const FlightLine& last = lines.back();
  return last.action == FlightAction::kEnd ? last.tick - 1 : last.tick;
}

std::optional<FlightScriptError> ParseFlightScript(const std::string& text, FlightScript& script,
                                                   const FlightPlaces* places) {
  script.lines.clear();
  std::istringstream in(text);
  std::string raw;
  int32_t number = 0;
  while (std::getline(in, raw)) {
    ++number;
    if (IsBlank(raw)) continue;
    try {
      FlightLine line = ReadLine(raw, number, places);
      if (!script.lines.empty()) {
        const FlightLine& before = script.lines.back();
        if (before.action == FlightAction::kEnd) {
          Fault("the flight has already ended (line " + std::to_string(before.line_number) +
                "); nothing after it would run");
        }
        if (line.tick < before.tick) {
          Fault("tick " + std::to_string(line.tick) + " comes after tick " +
                std::to_string(before.tick) + " (line " + std::to_string(before.line_number) +
                "); lines must be in tick order");
        }
      }
      script.lines.push_back(line);
    } catch (const LineFault& fault) {
      script.lines.clear();
      // The message quotes the line's names and values for a terminal.
      return FlightScriptError{number, PrintableText(fault.message, TextEncoding::kUtf8)};
    }
  }
  std::optional<FlightScriptError> too_long = AddMovement(script);
  if (too_long) script.lines.clear();
  return too_long;
}

FlightScript IdleFlight(int64_t ticks) {
  FlightScript script;
  FlightLine end;
  end.tick = ticks + 1;
  end.action = FlightAction::kEnd;
  script.lines.push_back(end);
  return script;
}

bool MenuSlotFromName(const std::string& name, uint32_t* slot) {
  static const char* const kNames[] = {"enter", "scores", "repeat", "direction", "credits", "quiz"};
  for (uint32_t i = 0; i < 6; ++i) {
    if (name == kNames[i]) {
      *slot = i;
      return true;
    }
  }
  const std::string prefix = "position:";
  if (name.size() == prefix.size() + 1 && name.compare(0, prefix.size(), prefix) == 0) {
    char k = name.back();
    if (k >= '1' && k <= '8') {
      *slot = 5 + static_cast<uint32_t>(k - '0');
      return true;
    }
  }
  return false;
}

std::string MenuSlotName(uint32_t slot) {
  static const char* const kNames[] = {"enter", "scores", "repeat", "direction", "credits", "quiz"};
  if (slot < 6) return kNames[slot];
  if (slot <= 13) return "position:" + std::to_string(slot - 5);
  return "slot " + std::to_string(slot);
}
