// Each leg as the race engine walks it: its targets in order, the time it
// gives, its precision tracks and the records that run without a target.
#include <algorithm>
#include <optional>

#include "tools/aerilon-course/check/check_rules.h"
#include "tools/aerilon-course/source/designer_units.h"

using namespace course_model;

namespace {

constexpr int32_t kRightAngle = 16384;  // the largest deviation a track measures

bool IsTarget(const LegRecord& record) {
  return std::holds_alternative<Gate>(record) || std::holds_alternative<Waypoint>(record) ||
         std::holds_alternative<Landing>(record);
}

// Where a target is met: around a point, up to `reach` metres from it.
struct Area {
  int32_t lat, lon;
  double reach;
};

std::optional<Area> BoxArea(const Box& b) {
  if (b.lat_min > b.lat_max || b.lon_min > b.lon_max) return std::nullopt;  // never holds
  int32_t lat = static_cast<int32_t>((int64_t{b.lat_min} + b.lat_max) / 2);
  int32_t lon = static_cast<int32_t>((int64_t{b.lon_min} + b.lon_max) / 2);
  double diagonal = designer_units::GroundDistance(b.lat_min, b.lon_min, b.lat_max, b.lon_max);
  return Area{lat, lon, diagonal / 2};
}

std::optional<Area> TargetArea(const LegRecord& record) {
  if (const Gate* g = std::get_if<Gate>(&record)) return BoxArea(g->box);
  if (const Landing* l = std::get_if<Landing>(&record)) return BoxArea(l->box);
  const Waypoint& w = std::get<Waypoint>(record);
  return Area{w.lat, w.lon, std::max(0.0, static_cast<double>(w.radius))};
}

double MetresPerSecond(int32_t speed) {
  return speed / static_cast<double>(designer_units::kSpeedUnitsPerKnot) *
         designer_units::kMetresPerNauticalMile / 3600.0;
}

// From the start box through the targets in order, the shortest way
// between the areas, at the fastest speed the start box and the gates
// allow so far: the first target that cannot be reached within the time
// allowance. Only the first is told; the ones after it follow from it.
void CheckReach(LintReport& report, size_t index) {
  const Leg& leg = report.course().legs[index];
  std::optional<Area> from = BoxArea(leg.start.box);
  if (!from) return;
  double travelled = 0;
  int32_t fastest = leg.start.speed_max;
  for (size_t r = 0; r < leg.records.size(); ++r) {
    if (!IsTarget(leg.records[r])) continue;
    std::optional<Area> to = TargetArea(leg.records[r]);
    if (!to) return;
    if (const Gate* g = std::get_if<Gate>(&leg.records[r])) {
      fastest = std::max(fastest, g->speed_max);
    }
    double apart = designer_units::GroundDistance(from->lat, from->lon, to->lat, to->lon);
    travelled += std::max(0.0, apart - from->reach - to->reach);
    from = to;
    if (fastest <= 0) continue;
    double seconds = travelled / MetresPerSecond(fastest);
    if (seconds < leg.end.time_allowance + 1.0) continue;  // whole seconds are counted
    report.Warning(RecordOf(index, r),
                   "it is at least " + lint_text::Distance(travelled) +
                       " from the start box, edge to edge along the leg's targets; at " +
                       lint_text::Knots(fastest) +
                       ", the fastest the start box and gates allow so far, that takes " +
                       lint_text::Duration(seconds) + ", more than the time allowance of " +
                       std::to_string(leg.end.time_allowance) + " s: the time score goes negative");
    return;
  }
}

void CheckTime(LintReport& report, size_t index) {
  const LegEnd& end = report.course().legs[index].end;
  if (end.time_factor < 0) {
    report.Warning(FinishOf(index),
                   "its time factor is negative: every second under the time "
                   "allowance costs points and every second over it earns some");
  }
  if (end.time_factor == 0) return;  // time does not count
  if (end.time_allowance <= 0) {
    report.Warning(FinishOf(index), "its time allowance is " + std::to_string(end.time_allowance) +
                                        " s: the time score is negative from the first second");
  } else if (end.time_factor > 0) {
    CheckReach(report, index);
  }
}

// The near zone a track uses when its selector picks none: the last one
// picked in the leg, or none known.
std::optional<int32_t> PickedNearZone(int32_t selector, std::optional<int32_t> before) {
  switch (selector) {
    case 0: return 1852;
    case 1: return 926;
    case 2: return 10;
    default: return before;
  }
}

void CheckTrackStart(LintReport& report, const LintObject& object, const TrackStart& t,
                     std::optional<int32_t> near_zone_before) {
  if (t.radial < 0 || t.radial > 0xFFFF) {
    report.Warning(object, "its radial is outside 0 to 360 degrees (" +
                               lint_text::Degrees(t.radial) + "): only its low 16 bits are used, " +
                               lint_text::Degrees(static_cast<uint16_t>(t.radial)));
  }
  if (t.near_zone < 0 || t.near_zone > 2) {
    std::string kept = near_zone_before
                           ? " (" + std::to_string(*near_zone_before) + " m)"
                           : ", whichever track was flown last (undefined before the first)";
    report.Warning(object, "its near-zone selector " + std::to_string(t.near_zone) +
                               " is not 0, 1 or 2: it keeps the previous track's near zone" + kept);
  }
  uint32_t magnitude = t.tolerance < 0 ? 0u - static_cast<uint32_t>(t.tolerance)
                                       : static_cast<uint32_t>(t.tolerance);
  uint32_t kept = magnitude & 0xFFFFu;  // the track keeps 16 bits
  std::string cut =
      magnitude > 0xFFFFu ? " (kept as 16 bits: " + lint_text::Degrees(kept) + ")" : "";
  if (t.tolerance < 0) {
    report.Warning(object, "its tolerance is negative (" + lint_text::Degrees(t.tolerance) +
                               "): its absolute value is taken, " + lint_text::Degrees(kept));
  }
  if (kept == 0) {
    report.Warning(object, "its tolerance is 0 degrees" + cut +
                               ": the slightest deviation from the radial costs points");
  } else if (kept >= kRightAngle) {
    report.Warning(object, "its tolerance is 90 degrees or more" + cut +
                               ": no deviation exceeds it, so the track never costs points");
  }
}

void CheckTracks(LintReport& report, size_t index) {
  const Leg& leg = report.course().legs[index];
  std::optional<size_t> open;
  std::optional<int32_t> near_zone;
  for (size_t r = 0; r < leg.records.size(); ++r) {
    if (const TrackStart* t = std::get_if<TrackStart>(&leg.records[r])) {
      CheckTrackStart(report, RecordOf(index, r), *t, near_zone);
      near_zone = PickedNearZone(t->near_zone, near_zone);
      open = r;
    } else if (std::holds_alternative<TrackEnd>(leg.records[r])) {
      if (!open) report.Warning(RecordOf(index, r), "no track is running here: it does nothing");
      open.reset();
    }
  }
  if (open) {
    report.Warning(RecordOf(index, *open),
                   "the track has no track_end before the leg's end: "
                   "it runs to the finish, which closes it");
  }
}

void CheckMessages(LintReport& report, size_t index) {
  const Leg& leg = report.course().legs[index];
  for (size_t r = 0; r < leg.records.size(); ++r) {
    const Message* m = std::get_if<Message>(&leg.records[r]);
    if (m == nullptr) continue;
    if (m->text.IsNone()) {
      report.Warning(RecordOf(index, r), std::string("it has no text: a message without one "
                                                     "shows nothing") +
                                             (m->voice.IsNone() ? "" : " and plays no voice"));
    } else if (m->seconds <= 0) {
      report.Warning(RecordOf(index, r), "its time is " + std::to_string(m->seconds) +
                                             " s: it shows nothing and plays no voice");
    }
  }
}

// Records after the last target run in the tick the leg ends.
void CheckAfterLastTarget(LintReport& report, size_t index) {
  const Leg& leg = report.course().legs[index];
  auto last = std::find_if(leg.records.rbegin(), leg.records.rend(), IsTarget);
  if (last == leg.records.rend()) {
    report.Warning(LegOf(index),
                   "it has no gate, waypoint or landing: it ends the moment it "
                   "starts");
    return;
  }
  if (report.course().questions.empty()) return;  // told at the quiz timer already
  for (size_t r = static_cast<size_t>(last.base() - leg.records.begin()); r < leg.records.size();
       ++r) {
    if (!std::holds_alternative<QuizTimer>(leg.records[r])) continue;
    report.Warning(RecordOf(index, r),
                   "it comes after the leg's last target: the leg ends in that same tick, and a "
                   "question that falls due after the finish is not asked in it");
  }
}

}  // namespace

void CheckRoutes(LintReport& report) {
  for (size_t leg = 0; leg < report.course().legs.size(); ++leg) {
    CheckAfterLastTarget(report, leg);
    CheckTime(report, leg);
    CheckTracks(report, leg);
    CheckMessages(report, leg);
  }
}
