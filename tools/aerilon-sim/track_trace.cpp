#include "tools/aerilon-sim/track_trace.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "rally/race/targets/precision_track.h"

namespace {

constexpr double kDegreesPerUnit = 360.0 / 65536.0;

// A new track when one becomes active, or when a TrackStart replaced the
// active one (another reference, radial or tolerance, or its largest
// deviation started again).
bool SameTrack(const PrecisionTrack& a, const PrecisionTrack& b) {
  return a.reference_latitude == b.reference_latitude &&
         a.reference_longitude == b.reference_longitude && a.radial == b.radial &&
         a.tolerance == b.tolerance && a.weight == b.weight &&
         b.largest_deviation >= a.largest_deviation;
}

std::string Degrees(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f", value);
  std::string text = buffer;
  if (text.size() > 2 && text.compare(text.size() - 2, 2, ".0") == 0) text.resize(text.size() - 2);
  return text;
}

}  // namespace

void TrackTrace::AfterTick(RallyModule& m, const RaceEngine& before, int64_t tick,
                           std::vector<TranscriptLine>* out) {
  const RaceEngine& e = m.race;
  bool was = before.track.active && !name_.empty();
  bool replaced = was && e.track.active && !SameTrack(before.track, e.track);
  if (was && (!e.track.active || replaced)) {
    CloseSpan(out);
    TranscriptLine line;
    line["tick"] = tick;
    line["trace"] = {{"track", name_},
                     {"closed", true},
                     {"largest", before.track.largest_deviation * kDegreesPerUnit},
                     {"tolerance", tolerance_},
                     {"penalty", e.score.precision - before.score.precision}};
    out->push_back(line);
    name_.clear();
  }
  if (e.current_leg != leg_) {
    leg_ = e.current_leg;
    tracks_seen_ = 0;
  }
  if (!e.track.active || e.state != kLegRunning) {
    CloseSpan(out);
    return;
  }
  if (name_.empty()) {
    name_ = "track " + std::to_string(e.current_leg + 1) + "." + std::to_string(++tracks_seen_);
    tolerance_ = e.track.tolerance * kDegreesPerUnit;
  }
  Judge(m, tick, out);
}

void TrackTrace::AtEnd(std::vector<TranscriptLine>* out) {
  CloseSpan(out);
}

void TrackTrace::Judge(RallyModule& m, int64_t tick, std::vector<TranscriptLine>* out) {
  int32_t units = 0;
  if (!MeasureTrackDeviation(m, &units)) {  // inside the near zone: not judged
    CloseSpan(out);
    return;
  }
  double deviation = units * kDegreesPerUnit;
  bool beyond = units > m.race.track.tolerance;
  if (open_ && beyond == beyond_ && last_ + 1 == tick) {
    last_ = tick;
    low_ = std::min(low_, deviation);
    high_ = std::max(high_, deviation);
    return;
  }
  CloseSpan(out);
  open_ = true;
  beyond_ = beyond;
  first_ = last_ = tick;
  low_ = high_ = deviation;
}

void TrackTrace::CloseSpan(std::vector<TranscriptLine>* out) {
  if (!open_) return;
  open_ = false;
  TranscriptLine line;
  line["tick"] = last_;
  line["trace"] = {{"track", name_},
                   {"judged", {first_, last_}},
                   {"deviation", {low_, high_}},
                   {"tolerance", tolerance_},
                   {"beyond", beyond_}};
  out->push_back(line);
}

std::string TrackTraceText(const TranscriptLine& trace) {
  std::string text = trace["track"].get<std::string>();
  std::string tolerance = Degrees(trace["tolerance"].get<double>());
  if (trace.contains("closed")) {
    int64_t penalty = trace["penalty"];
    if (penalty == 0 && trace["largest"].get<double>() == 0) {
      return text + " closed: never beyond the tolerance of " + tolerance + " degrees, no penalty";
    }
    return text + " closed: largest deviation " + Degrees(trace["largest"].get<double>()) +
           " degrees, tolerance " + tolerance + ", penalty " + std::to_string(penalty);
  }
  int64_t first = trace["judged"][0], last = trace["judged"][1];
  double low = trace["deviation"][0], high = trace["deviation"][1];
  text += first == last
              ? " judged at tick " + std::to_string(first)
              : " judged at ticks " + std::to_string(first) + " to " + std::to_string(last);
  text += ": deviation " +
          (Degrees(low) == Degrees(high) ? Degrees(low) : Degrees(low) + " to " + Degrees(high));
  text += std::string(" degrees, ") + (trace["beyond"].get<bool>() ? "beyond" : "within") +
          " the tolerance of " + tolerance;
  return text;
}
