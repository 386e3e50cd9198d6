// The boxes a pilot has to be in: start boxes, gates, waypoints and
// landings, each tested on its own and the start boxes against each other.
#include <algorithm>
#include <cstdlib>

#include "tools/aerilon-course/check/check_rules.h"
#include "tools/aerilon-course/source/designer_units.h"

using namespace course_model;

namespace {

constexpr int32_t kDirectionTolerance = 7282;  // 40 degrees either side
constexpr int32_t kLowestGround = -500, kHighestGround = 5000;

std::string Latitude(int32_t lat) {
  return designer_units::LatitudeText(designer_units::LatitudeDegrees(lat), 3);
}
std::string Longitude(int32_t lon) {
  return designer_units::LongitudeText(designer_units::LongitudeDegrees(lon), 3);
}

bool BoxHolds(const Box& b) {
  return b.lat_min <= b.lat_max && b.lon_min <= b.lon_max;
}

bool Inside(const Box& b, int32_t lat, int32_t lon) {
  return b.lat_min <= lat && lat <= b.lat_max && b.lon_min <= lon && lon <= b.lon_max;
}

void CheckEdges(LintReport& report, const LintObject& object, const Box& b) {
  if (b.lat_min > b.lat_max) {
    report.Error(object, "its latitude edges are swapped: the minimum " + Latitude(b.lat_min) +
                             " is north of the maximum " + Latitude(b.lat_max) +
                             ", so the box never holds");
  }
  if (b.lon_min > b.lon_max) {
    std::string message = "its longitude edges are swapped: the minimum " + Longitude(b.lon_min) +
                          " is east of the maximum " + Longitude(b.lon_max) +
                          ", so the box never holds";
    // Read eastwards from the minimum across 180 degrees, the box is the
    // smaller part of the globe: the designer drew it over the date line.
    uint32_t across = static_cast<uint32_t>(b.lon_max) - static_cast<uint32_t>(b.lon_min);
    if (b.lon_min > 0 && b.lon_max < 0 && across < 0x80000000u) {
      message +=
          "; it seems to cross the 180th meridian, which no box can: longitudes are "
          "compared as signed numbers, from 180 degrees west to 180 degrees east";
    }
    report.Error(object, message);
  }
}

// No position lies beyond a pole; a course file may still hold such a
// latitude, which nothing ever reaches.
void CheckLatitude(LintReport& report, const LintObject& object, const char* what, int32_t lat) {
  if (lat >= -designer_units::kPoleLatitudeUnits && lat <= designer_units::kPoleLatitudeUnits) {
    return;
  }
  report.Error(object, std::string("its ") + what + " " + Latitude(lat) +
                           " lies beyond the pole: no position has that latitude");
}

// A box is compared with whole units, edges included: one whose edges are
// equal holds only on that one line, about a metre wide, which a flight
// sampled six times a second practically never meets.
void CheckSize(LintReport& report, const LintObject& object, const Box& b) {
  CheckLatitude(report, object, "south edge", b.lat_min);
  CheckLatitude(report, object, "north edge", b.lat_max);
  bool flat = b.lat_min == b.lat_max, thin = b.lon_min == b.lon_max;
  if (!flat && !thin) return;
  std::string across = flat && thin ? "north to south and west to east"
                       : flat       ? "north to south"
                                    : "west to east";
  report.Error(object, "its box is 0 m from " + across +
                           ": the aircraft is inside it only on that very line, which a flight "
                           "practically never meets");
}

void CheckBand(LintReport& report, const LintObject& object, int32_t band) {
  if (band >= 0) return;
  report.Error(object, "its altitude half-band is " + std::to_string(band) +
                           " m: no altitude is within it, so it never holds");
}

void CheckSpeeds(LintReport& report, const LintObject& object, int32_t low, int32_t high) {
  if (high < 0) {
    report.Error(object, "its top speed is " + lint_text::Knots(high) +
                             ", but a speed is never below 0: it never holds");
  } else if (low > high) {
    report.Error(object, "its speed range " + lint_text::Knots(low) + " to " +
                             lint_text::Knots(high) + " is empty: it never holds");
  }
}

void CheckHeading(LintReport& report, const LintObject& object, int32_t heading) {
  if (heading >= 0) return;  // 65536 and more: any direction
  report.Warning(object, "its heading is below 0 (" + lint_text::Degrees(heading) +
                             "): the direction test takes its low 16 bits, " +
                             lint_text::Degrees(static_cast<uint16_t>(heading)));
}

void CheckWaypoint(LintReport& report, const LintObject& object, const Waypoint& w) {
  CheckLatitude(report, object, "latitude", w.lat);
  CheckBand(report, object, w.alt_band);
  CheckHeading(report, object, w.heading);
  if (w.radius <= 0) {
    report.Error(object, "its radius is " + std::to_string(w.radius) +
                             " m: the distance to the point must be below it, so it is never "
                             "passed");
  }
}

// The landing's altitude is only the height distance readouts measure to;
// where the source names the ground inside the box, the two should agree.
void CheckLandingAltitude(LintReport& report, const LintObject& object, const Landing& l) {
  const NamedPlace* ground = nullptr;
  for (const NamedPlace& place : report.document().places) {
    if (!place.elevation || !Inside(l.box, place.lat, place.lon)) continue;
    if (*place.elevation == l.alt) return;
    if (ground == nullptr) ground = &place;
  }
  if (ground != nullptr) {
    report.Warning(object, "its altitude is " + std::to_string(l.alt) + " m, but " + ground->name +
                               ", inside the box, lies at " + std::to_string(*ground->elevation) +
                               " m: the distance readouts measure to the wrong height");
  } else if (l.alt < kLowestGround || l.alt > kHighestGround) {
    report.Warning(object, "its altitude of " + std::to_string(l.alt) +
                               " m is no ground's (-500 to 5000 m): metres, not feet?");
  }
}

struct RecordChecker {
  LintReport& report;
  LintObject object;

  void operator()(const Gate& g) const {
    CheckEdges(report, object, g.box);
    CheckSize(report, object, g.box);
    CheckBand(report, object, g.alt_band);
    CheckSpeeds(report, object, g.speed_min, g.speed_max);
    CheckHeading(report, object, g.heading);
  }
  void operator()(const Waypoint& w) const { CheckWaypoint(report, object, w); }
  void operator()(const Landing& l) const {
    CheckEdges(report, object, l.box);
    CheckSize(report, object, l.box);
    CheckHeading(report, object, l.heading);
    CheckLandingAltitude(report, object, l);
  }
  void operator()(const TrackStart& t) const {
    CheckLatitude(report, object, "reference point's latitude", t.lat);
  }
  template <typename Other>
  void operator()(const Other&) const {}
};

void CheckStartBox(LintReport& report, size_t leg) {
  const StartGate& s = report.course().legs[leg].start;
  CheckEdges(report, StartBoxOf(leg), s.box);
  CheckSize(report, StartBoxOf(leg), s.box);
  CheckBand(report, StartBoxOf(leg), s.alt_band);
  CheckSpeeds(report, StartBoxOf(leg), s.speed_min, s.speed_max);
  CheckHeading(report, StartBoxOf(leg), s.heading);
}

bool StartBoxHolds(const StartGate& s) {
  return BoxHolds(s.box) && s.alt_band >= 0 && s.speed_max >= 0 && s.speed_min <= s.speed_max;
}

bool Meet(int64_t low1, int64_t high1, int64_t low2, int64_t high2) {
  return std::max(low1, low2) <= std::min(high1, high2);
}

// Some heading passes the direction test of both.
bool HeadingsMeet(int32_t a, int32_t b) {
  if (a >= designer_units::kAnyHeading || b >= designer_units::kAnyHeading) return true;
  int32_t apart = std::abs(static_cast<uint16_t>(a) - static_cast<uint16_t>(b));
  if (apart > 32768) apart = 65536 - apart;
  return apart <= 2 * kDirectionTolerance;
}

// An aircraft can be in both boxes at once, at an altitude, speed and
// heading both accept.
bool StartBoxesMeet(const StartGate& a, const StartGate& b) {
  return Meet(a.box.lat_min, a.box.lat_max, b.box.lat_min, b.box.lat_max) &&
         Meet(a.box.lon_min, a.box.lon_max, b.box.lon_min, b.box.lon_max) &&
         Meet(int64_t{a.alt_centre} - a.alt_band, int64_t{a.alt_centre} + a.alt_band,
              int64_t{b.alt_centre} - b.alt_band, int64_t{b.alt_centre} + b.alt_band) &&
         Meet(std::max(a.speed_min, 0), a.speed_max, std::max(b.speed_min, 0), b.speed_max) &&
         HeadingsMeet(a.heading, b.heading);
}

// The entry scan starts the first leg, in entry-table order, whose start
// box holds.
void CheckStartBoxOverlaps(LintReport& report) {
  const std::vector<Leg>& legs = report.course().legs;
  std::vector<size_t> scan_order;
  std::vector<bool> listed(legs.size());
  for (const EntrySlot& slot : EntryOrder(report.course())) {
    if (slot.kind != EntrySlot::kLeg || slot.index >= legs.size() || listed[slot.index]) continue;
    listed[slot.index] = true;
    scan_order.push_back(slot.index);
  }
  for (size_t later = 0; later < scan_order.size(); ++later) {
    const StartGate& b = legs[scan_order[later]].start;
    if (!StartBoxHolds(b)) continue;
    for (size_t earlier = 0; earlier < later; ++earlier) {
      const StartGate& a = legs[scan_order[earlier]].start;
      if (!StartBoxHolds(a) || !StartBoxesMeet(a, b)) continue;
      std::string first = "leg " + std::to_string(scan_order[earlier] + 1);
      report.Warning(StartBoxOf(scan_order[later]),
                     "it overlaps " + first + "'s start box: where an aircraft is in both, " +
                         first + " starts, as it comes first in the entry table");
    }
  }
}

}  // namespace

void CheckBoxes(LintReport& report) {
  const std::vector<Leg>& legs = report.course().legs;
  for (size_t leg = 0; leg < legs.size(); ++leg) {
    CheckStartBox(report, leg);
    for (size_t r = 0; r < legs[leg].records.size(); ++r) {
      std::visit(RecordChecker{report, RecordOf(leg, r)}, legs[leg].records[r]);
    }
  }
  CheckStartBoxOverlaps(report);
  const std::vector<BonusObject>& bonus = report.course().bonus_objects;
  for (size_t i = 0; i < bonus.size(); ++i) {
    CheckLatitude(report, BonusObjectOf(i), "centre's latitude", bonus[i].lat);
  }
}
