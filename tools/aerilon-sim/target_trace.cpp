#include "tools/aerilon-sim/target_trace.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "rally/course/course_format.h"
#include "rally/course/course_image.h"
#include "rally/race/aircraft_sample.h"
#include "rally/race/targets/direction_test.h"
#include "rally/race/targets/gate_box.h"
#include "rally/race/targets/landing.h"
#include "rally/race/targets/waypoint.h"
#include "tools/aerilon-course/source/designer_units.h"
#include "tools/aerilon-sim/track_trace.h"

using namespace course;

namespace {

constexpr double kKnotUnits = 128.0;
constexpr double kDegreesPerUnit = 360.0 / 65536.0;

// The direction test's terms: how far the aircraft's heading is off the
// required one, and the most it may be.
TargetCondition Heading(uint16_t aircraft, int32_t required) {
  TargetCondition c{"heading", PassesDirectionTest(aircraft, required), 0, 0, 0, "degrees off"};
  if (required >= kAnyDirection) {
    c.high = 180;
    return c;
  }
  int32_t d = std::abs(static_cast<int32_t>(aircraft) -
                       static_cast<int32_t>(static_cast<uint16_t>(required)));
  if (d > 32768) d = 65536 - d;
  c.value = d * kDegreesPerUnit;
  c.high = kDirectionTolerance * kDegreesPerUnit;
  return c;
}

TargetCondition Altitude(bool holds, int32_t altitude, int32_t centre, int32_t band) {
  return TargetCondition{"altitude",
                         holds,
                         static_cast<double>(altitude),
                         static_cast<double>(centre) - band,
                         static_cast<double>(centre) + band,
                         "m"};
}

const char* KindName(int32_t type) {
  switch (type) {
    case kGate: return "gate";
    case kWaypoint: return "waypoint";
    case kLanding: return "landing";
    default: return "target";
  }
}

// A figure as the designer reads it: whole, or with one decimal.
std::string Figure(double value) {
  char buffer[32];
  if (std::fabs(value - std::round(value)) < 0.05) {
    std::snprintf(buffer, sizeof buffer, "%.0f", value);
  } else {
    std::snprintf(buffer, sizeof buffer, "%.1f", value);
  }
  return buffer;
}

std::string Range(double low, double high) {
  std::string from = Figure(low), to = Figure(high);
  return from == to ? from : from + " to " + to;
}

// "altitude 905 to 914 m, wanted 366 to 549 m"; "on the ground: no".
std::string FailureText(const nlohmann::ordered_json& f) {
  std::string name = f["condition"];
  if (name == "ground") return "airborne, wanted on the ground";
  std::string unit = f["unit"];
  std::string value = Range(f["value"][0], f["value"][1]);
  std::string wanted = Range(f["wanted"][0], f["wanted"][1]);
  if (name == "heading")
    return "heading " + value + " degrees off, wanted at most " + Figure(f["wanted"][1]);
  return name + " " + value + " " + unit + ", wanted " + wanted + " " + unit;
}

constexpr double kPi = 3.14159265358979323846;

// The aircraft's offset from a point of the course, in metres east and north.
void OffsetFrom(int32_t lat, uint32_t lon, const AircraftSample& a, double* east, double* north) {
  *north = (static_cast<double>(a.latitude) - lat) * designer_units::MetresPerLatitudeUnit();
  *east = static_cast<int32_t>(static_cast<uint32_t>(a.longitude) - lon) *
          designer_units::MetresPerLongitudeUnit(a.latitude);
}

// The room to either side of the aircraft's path inside a box (start box,
// gate, landing: the same offsets): how far the path could lie to its left
// or right and still cross the box, the nearer of the two; negative when
// the path misses it.
double BoxSideRoom(const uint8_t* r, const AircraftSample& a) {
  double low_east, low_north, high_east, high_north;
  OffsetFrom(RecordField(r, gate::kLatMin), static_cast<uint32_t>(RecordField(r, gate::kLonMin)), a,
             &low_east, &low_north);
  OffsetFrom(RecordField(r, gate::kLatMax), static_cast<uint32_t>(RecordField(r, gate::kLonMax)), a,
             &high_east, &high_north);
  // The aircraft's offsets from the corners are the corners' from it, negated.
  double heading = a.heading * 2 * kPi / 65536;
  double left = -1e12, right = -1e12;
  for (double east : {-low_east, -high_east}) {
    for (double north : {-low_north, -high_north}) {
      double across = east * std::cos(heading) - north * std::sin(heading);  // right of the path
      right = std::max(right, across);
      left = std::max(left, -across);
    }
  }
  return std::min(left, right);
}

// The room to either side of the aircraft's path within a waypoint's
// radius: the radius less the path's distance from the centre.
double CircleSideRoom(const uint8_t* r, const AircraftSample& a) {
  double east, north;
  OffsetFrom(RecordField(r, waypoint::kLat), static_cast<uint32_t>(RecordField(r, waypoint::kLon)),
             a, &east, &north);
  double heading = a.heading * 2 * kPi / 65536;
  double across = std::fabs(east * std::cos(heading) - north * std::sin(heading));
  return RecordField(r, waypoint::kRadius) - across;
}

}  // namespace

TargetObservation ObserveTarget(RallyModule& m, const uint8_t* r) {
  TargetObservation o;
  AircraftSample a = SampleAircraft(m);
  switch (::RecordType(r)) {
    case kStartGate:
    case kGate: {
      GateBoxTest t = TestGateBox(r, a);
      o.inside = t.latitude && t.longitude;
      o.inside_m = BoxSideRoom(r, a);
      o.conditions.push_back(Altitude(t.altitude, a.altitude, RecordField(r, gate::kAltCentre),
                                      RecordField(r, gate::kAltBand)));
      o.conditions.push_back(TargetCondition{"speed", t.speed, a.speed / kKnotUnits,
                                             RecordField(r, gate::kSpeedMin) / kKnotUnits,
                                             RecordField(r, gate::kSpeedMax) / kKnotUnits, "kn"});
      o.conditions.push_back(Heading(a.heading, GateHeading(r)));
      break;
    }
    case kWaypoint: {
      WaypointTest t = TestWaypoint(m, r);
      o.inside = t.within_radius;
      o.inside_m = CircleSideRoom(r, a);
      o.conditions.push_back(Altitude(t.altitude, a.altitude, RecordField(r, waypoint::kAlt),
                                      RecordField(r, waypoint::kAltBand)));
      o.conditions.push_back(Heading(a.heading, RecordField(r, waypoint::kHeading)));
      break;
    }
    case kLanding: {
      o.inside = InsideLandingBox(r, a);
      o.inside_m = BoxSideRoom(r, a);
      o.conditions.push_back(
          TargetCondition{"ground", a.on_ground, a.on_ground ? 1.0 : 0.0, 1, 1, ""});
      o.conditions.push_back(Heading(a.heading, RecordField(r, landing::kHeading)));
      break;
    }
    default: break;
  }
  return o;
}

nlohmann::ordered_json TargetMargins(const TargetObservation& o) {
  nlohmann::ordered_json margins;
  margins["inside_m"] = std::round(o.inside_m * 10) / 10;
  for (const TargetCondition& c : o.conditions) {
    if (c.name == "altitude") margins["altitude_m"] = std::min(c.value - c.low, c.high - c.value);
    if (c.name == "speed") {
      margins["speed_kn"] = std::round(std::min(c.value - c.low, c.high - c.value) * 10) / 10;
    }
    if (c.name == "heading") margins["heading_off"] = std::round(c.value * 10) / 10;
  }
  return margins;
}

std::string TargetName(const RallyModule& m, const uint8_t* record) {
  int32_t leg = m.race.current_leg;
  const uint8_t* p = CourseEntry(m.course, leg) + RecordSize(kStartGate);
  const uint8_t* end = CourseStart(m.course) + m.course.size;
  int32_t index = 0;
  while (p < end && p != record) {
    int32_t type = ::RecordType(p);
    if (RecordSize(type) == 0 || type == kLegEnd) break;
    if (IsTarget(type)) ++index;
    p += RecordSize(type);
  }
  return std::string(KindName(::RecordType(record))) + " " + std::to_string(leg + 1) + "." +
         std::to_string(index + 1);
}

void TargetTrace::AfterTick(RallyModule& m, const RaceEngine& before, int64_t tick,
                            std::vector<TranscriptLine>* out) {
  const RaceEngine& e = m.race;
  const uint8_t* current = e.state == kLegRunning && e.target.exists ? e.target.record : nullptr;
  if (pending_ != nullptr && current != pending_) Resolve(m, before, tick, out);
  if (current != nullptr && current != pending_) {
    pending_ = current;
    name_ = TargetName(m, current);
    spans_.clear();
    open_ = false;
  }
  if (pending_ != nullptr) Observe(m, tick, out);
}

void TargetTrace::AtEnd(int64_t tick, std::vector<TranscriptLine>* out) {
  if (pending_ != nullptr) NotMet("the run ended", tick, out);
}

void TargetTrace::Observe(RallyModule& m, int64_t tick, std::vector<TranscriptLine>* out) {
  TargetObservation o = ObserveTarget(m, pending_);
  if (!o.inside) {
    CloseSpan(out);
    return;
  }
  bool same = open_ && span_.last + 1 == tick && span_.low.size() == o.conditions.size();
  for (size_t i = 0; same && i < o.conditions.size(); ++i) {
    same = span_.low[i].holds == o.conditions[i].holds;
  }
  if (!same) {
    CloseSpan(out);
    open_ = true;
    span_ = Span{tick, tick, o.conditions, o.conditions};
    return;
  }
  span_.last = tick;
  for (size_t i = 0; i < o.conditions.size(); ++i) {
    span_.low[i].value = std::min(span_.low[i].value, o.conditions[i].value);
    span_.high[i].value = std::max(span_.high[i].value, o.conditions[i].value);
  }
}

void TargetTrace::CloseSpan(std::vector<TranscriptLine>* out) {
  if (!open_) return;
  open_ = false;
  nlohmann::ordered_json trace;
  trace["target"] = name_;
  trace["inside"] = nlohmann::ordered_json::array({span_.first, span_.last});
  nlohmann::ordered_json holds = nlohmann::ordered_json::array();
  nlohmann::ordered_json fails = nlohmann::ordered_json::array();
  for (size_t i = 0; i < span_.low.size(); ++i) {
    const TargetCondition& c = span_.low[i];
    if (c.holds) {
      holds.push_back(c.name);
      continue;
    }
    nlohmann::ordered_json f;
    f["condition"] = c.name;
    f["value"] = nlohmann::ordered_json::array({c.value, span_.high[i].value});
    f["wanted"] = nlohmann::ordered_json::array({c.low, c.high});
    f["unit"] = c.unit;
    fails.push_back(f);
  }
  trace["holds"] = holds;
  trace["fails"] = fails;
  TranscriptLine line;
  line["tick"] = span_.last;
  line["trace"] = trace;
  spans_.push_back(span_);
  last_span_ = trace;
  out->push_back(line);
}

// The pending target left the engine's hands this tick: met when the leg
// goes on past it or was scored, else not met.
void TargetTrace::Resolve(RallyModule& m, const RaceEngine& before, int64_t tick,
                          std::vector<TranscriptLine>* out) {
  const RaceEngine& e = m.race;
  bool goes_on = e.state == kLegRunning && e.current_leg == before.current_leg;
  bool scored = e.score_pending && !before.score_pending;
  if (!goes_on && !scored) {
    NotMet(e.current_leg < 0 ? "the leg was aborted (a crash, slew, jump or the pilot's abort)"
                             : "the pilot left the race",
           tick, out);
    return;
  }
  // Every target from the pending one to the new current one (or to the
  // leg's end) was met in this tick, with the aircraft as it is now.
  const uint8_t* stop = goes_on ? e.target.record : nullptr;
  const uint8_t* end = CourseStart(m.course) + m.course.size;
  for (const uint8_t* p = pending_; p < end && p != stop;) {
    int32_t type = ::RecordType(p);
    if (RecordSize(type) == 0 || type == kLegEnd) break;
    if (IsTarget(type)) {
      if (p != pending_) {
        CloseSpan(out);
        pending_ = p;
        name_ = TargetName(m, p);
      }
      Observe(m, tick, out);
      CloseSpan(out);
      TranscriptLine line;
      line["tick"] = tick;
      line["trace"] = {{"target", name_}, {"met", true}};
      line["trace"]["margin"] = TargetMargins(ObserveTarget(m, p));
      out->push_back(line);
    }
    p += RecordSize(type);
  }
  pending_ = nullptr;
}

void TargetTrace::NotMet(const std::string& why, int64_t tick, std::vector<TranscriptLine>* out) {
  CloseSpan(out);
  TranscriptLine line;
  line["tick"] = tick;
  line["trace"] = {{"target", name_}, {"met", false}, {"why", why}};
  if (!spans_.empty()) line["trace"]["last_inside"] = last_span_;
  out->push_back(line);
  pending_ = nullptr;
}

std::string TraceText(const TranscriptLine& trace) {
  if (trace.contains("track")) return TrackTraceText(trace);
  std::string text = trace["target"].get<std::string>();
  if (trace.contains("met")) {
    if (trace["met"].get<bool>()) return text + " met";
    text += " not met: " + trace["why"].get<std::string>();
    if (!trace.contains("last_inside")) return text + "; never inside it";
    std::string last = TraceText(trace["last_inside"]);
    return text + "; last" + last.substr(last.find(' ', last.find(' ') + 1));
  }
  bool radius = text.rfind("waypoint", 0) == 0;
  int64_t first = trace["inside"][0], last = trace["inside"][1];
  text += std::string(radius ? " within the radius" : " inside the box") +
          (first == last ? " at tick " + std::to_string(first)
                         : " at ticks " + std::to_string(first) + " to " + std::to_string(last));
  for (const auto& f : trace["fails"]) text += "; " + FailureText(f);
  if (!trace["holds"].empty()) {
    text += "; holds:";
    for (const auto& h : trace["holds"]) text += " " + h.get<std::string>();
  }
  return text;
}
