#include "tools/aerilon-soak/soak_pilot.h"

#include <algorithm>
#include <cmath>

#include "rally/course/course_format.h"
#include "rally/host/host_interface.h"
#include "rally/state/module.h"
#include "tools/aerilon-soak/soak_geometry.h"

namespace {

namespace geo = soak_geometry;

constexpr int32_t kKnots = 128;
constexpr int32_t kCruise = 110 * kKnots;
constexpr int32_t kAnyHeading = 65536;
constexpr double kApproachMetres = 1200;
constexpr double kTooFarMetres = 40000;
constexpr int32_t kTurnPerTick = 1092;  // 6 degrees
constexpr int32_t kFocusTicks = 6000;
constexpr double kArmMetres = 500;
constexpr double kTwo32 = 4294967296.0;

// What the pilot flies to.
struct Goal {
  bool exists = false;
  double lat = 0, lon = 0, alt = 300;
  int32_t speed = kCruise;
  int32_t heading = kAnyHeading;
  const uint8_t* landing = nullptr;  // a landing box to land in
  bool ground = false;               // a bonus object awarded only on the ground
  bool stop = false;                 // ... only when standing still
  double near_metres = 0;            // within this the ground or stop wish applies
  double pass_metres = 0;            // within this the pilot flies straight on (see KeepClear)
};

double BoxLat(const uint8_t* r, uint32_t min, uint32_t max) {
  return (static_cast<double>(RecordField(r, min)) + RecordField(r, max)) / 2;
}
double BoxLon(const uint8_t* r, uint32_t min, uint32_t max) {
  double lo = static_cast<uint32_t>(RecordField(r, min));
  double hi = static_cast<uint32_t>(RecordField(r, max));
  return (lo + hi) / 2;
}

Goal BoxGoal(const uint8_t* r, uint32_t alt, uint32_t speed_min, uint32_t heading) {
  using namespace course::gate;  // the start box shares the gate's first fields
  Goal g;
  g.exists = true;
  g.lat = BoxLat(r, kLatMin, kLatMax);
  g.lon = BoxLon(r, kLonMin, kLonMax);
  g.alt = RecordField(r, alt);
  g.speed = (RecordField(r, speed_min) + RecordField(r, speed_min + 4)) / 2;
  g.heading = RecordField(r, heading);
  return g;
}

Goal WaypointGoal(const uint8_t* r) {
  using namespace course::waypoint;
  Goal g;
  g.exists = true;
  g.lat = RecordField(r, kLat);
  g.lon = static_cast<uint32_t>(RecordField(r, kLon));
  g.alt = RecordField(r, kAlt);
  g.heading = RecordField(r, kHeading);
  return g;
}

Goal LandingGoal(const uint8_t* r) {
  using namespace course::landing;
  Goal g;
  g.exists = true;
  g.lat = BoxLat(r, kLatMin, kLatMax);
  g.lon = BoxLon(r, kLonMin, kLonMax);
  g.alt = RecordField(r, kAlt);
  g.heading = RecordField(r, kHeading);
  g.landing = r;
  return g;
}

Goal BonusGoal(const uint8_t* r) {
  using namespace course::bonus_object;
  Goal g;
  g.exists = true;
  g.lat = RecordField(r, kLat);
  g.lon = static_cast<uint32_t>(RecordField(r, kLon));
  g.alt = RecordField(r, kAlt);
  int32_t inner = RecordField(r, kInnerConditions);
  g.stop = (inner & 1) != 0;
  g.ground = (inner & 4) != 0;
  g.near_metres = RecordField(r, kInnerHalf) / geo::LatitudeUnitsPerMetre() * 0.8;
  return g;
}

Goal GoalOfRecord(const uint8_t* r) {
  switch (RecordType(r)) {
    case course::kStartGate:
      return BoxGoal(r, course::start_gate::kAltCentre, course::start_gate::kSpeedMin,
                     course::start_gate::kHeading);
    case course::kGate:
      return BoxGoal(r, course::gate::kAltCentre, course::gate::kSpeedMin, course::gate::kHeading);
    case course::kWaypoint: return WaypointGoal(r);
    case course::kLanding: return LandingGoal(r);
    case course::kBonusObject: return BonusGoal(r);
    default: return Goal{};
  }
}

// While no leg runs the pilot picks an entry and flies to it for a while;
// a bonus object left or taken makes it pick again.
void KeepFocus(SoakPilot& p, const RallyModule& m, SoakRandom& random) {
  bool left_object = p.last_race_state >= kNearObjectOuter && m.race.state == kOutOfRace;
  p.last_race_state = m.race.state;
  int32_t entries = CourseEntryCount(m.course);
  if (entries == 0) {
    p.focus_entry = -1;
    return;
  }
  if (p.focus_entry < 0 || p.focus_entry >= entries || left_object ||
      ++p.focus_ticks > kFocusTicks) {
    p.focus_entry = random.Range(0, entries - 1);
    p.focus_ticks = 0;
  }
}

// A bonus object arms only from outside its middle box: a pilot that is
// inside it flies straight on until it is out of the outer box, then
// turns back in.
void KeepClear(Goal& g, const uint8_t* r) {
  if (RecordType(r) != course::kBonusObject) return;
  g.pass_metres = RecordField(r, course::bonus_object::kOuterHalf) / geo::LatitudeUnitsPerMetre();
}

Goal CurrentGoal(SoakPilot& p, const RallyModule& m, SoakRandom& random) {
  const RaceEngine& r = m.race;
  KeepFocus(p, m, random);
  if (r.state == kLegRunning) return r.target.exists ? GoalOfRecord(r.target.record) : Goal{};
  if (r.state >= kNearObjectOuter) return GoalOfRecord(r.record);
  if (p.focus_entry < 0) return Goal{};
  const uint8_t* entry = CourseEntry(m.course, p.focus_entry);
  Goal g = GoalOfRecord(entry);
  KeepClear(g, entry);
  return g;
}

bool InsideLandingBox(const SoakPilot& p, const uint8_t* r) {
  using namespace course::landing;
  double lon = static_cast<uint32_t>(static_cast<int64_t>(p.lon));
  return p.lat >= RecordField(r, kLatMin) && p.lat <= RecordField(r, kLatMax) &&
         lon >= static_cast<uint32_t>(RecordField(r, kLonMin)) &&
         lon <= static_cast<uint32_t>(RecordField(r, kLonMax));
}

// The heading that brings the aircraft onto the goal's line (the required
// heading through its centre), or straight to it when any heading will do.
uint16_t DesiredHeading(const SoakPilot& p, const Goal& g) {
  geo::Offset to = geo::OffsetBetween(p.lat, p.lon, g.lat, g.lon);
  if (g.heading >= kAnyHeading) return geo::BearingOf(to);
  uint16_t h = static_cast<uint16_t>(g.heading);
  geo::Offset dir = geo::Direction(h);
  double along = to.north * dir.north + to.east * dir.east;
  double cross = to.north * dir.east - to.east * dir.north;
  if (along > -50 && along < 3 * kApproachMetres && std::fabs(cross) < 150) {
    return along > 300 ? geo::BearingOf(to) : h;
  }
  geo::Offset to_approach{to.north - dir.north * kApproachMetres,
                          to.east - dir.east * kApproachMetres};
  return geo::Length(to_approach) < 200 ? h : geo::BearingOf(to_approach);
}

int32_t Toward(int32_t value, int32_t goal, int32_t step) {
  return value + std::clamp(goal - value, -step, step);
}

void Steer(SoakPilot& p, const Goal& g, SoakRandom& random) {
  double metres = g.exists ? geo::Length(geo::OffsetBetween(p.lat, p.lon, g.lat, g.lon)) : 1e9;
  bool steering = g.exists && metres >= g.pass_metres;
  int32_t turn = steering ? geo::AngleDifference(DesiredHeading(p, g), p.heading) : 0;
  turn = std::clamp(turn, -kTurnPerTick, kTurnPerTick) + random.Range(-60, 60);
  p.heading = static_cast<uint16_t>(p.heading + turn);
  bool landing = g.landing != nullptr && InsideLandingBox(p, g.landing);
  bool near = metres < g.near_metres;
  p.on_ground = landing || (near && g.ground);
  int32_t speed = g.exists ? g.speed : kCruise;
  if (landing) speed = 5 * kKnots;
  if (near && g.stop) speed = 0;
  p.speed = std::max(0, Toward(p.speed, speed, 2 * kKnots) + random.Range(-20, 20));
  if (p.on_ground) {
    p.alt = g.alt;
  } else {
    double climb = std::clamp(g.alt - p.alt, -6.0, 6.0);
    p.alt += (g.exists ? climb : 0) + random.Real(-0.5, 0.5);
  }
}

void Move(SoakPilot& p) {
  double metres = p.speed / 128.0 * 1852.0 / 3600.0 / 6.0;
  geo::Offset dir = geo::Direction(p.heading);
  p.lat += dir.north * metres * geo::LatitudeUnitsPerMetre();
  p.lon =
      std::fmod(p.lon + dir.east * metres * geo::LongitudeUnitsPerMetre(p.lat) + kTwo32, kTwo32);
}

int64_t Fixed(double units) {
  return static_cast<int64_t>(std::llround(units * kTwo32));
}
int64_t FixedLongitude(double units) {
  return static_cast<int64_t>(static_cast<uint64_t>(units * kTwo32));
}

// The module's position commands and the simulator's repositions move the
// aircraft too: the pilot flies on from wherever it now is.
void FollowState(SoakPilot& p, const uint8_t* s) {
  HostPosition at = SimAircraftPosition(s);
  if (at.latitude != p.written_lat) p.lat = at.latitude / kTwo32;
  if (at.longitude != p.written_lon) p.lon = static_cast<uint64_t>(at.longitude) / kTwo32;
  if (at.altitude != p.written_alt) p.alt = at.altitude / kTwo32;
}

void WriteState(SoakPilot& p, uint8_t* s) {
  p.written_lat = Fixed(p.lat);
  p.written_lon = FixedLongitude(p.lon);
  p.written_alt = Fixed(p.alt);
  SetSimAircraftPosition(s, HostPosition{p.written_lat, p.written_lon, p.written_alt});
  SetSimAircraftHeading(s, static_cast<uint32_t>(p.heading) << 16);
  SetSimAircraftSpeed(s, p.speed);
  SetSimOnGround(s, p.on_ground ? 1 : 0);
}

}  // namespace

void PlacePilot(SoakPilot& p, const RallyModule& m, SoakRandom& random) {
  Goal g = CourseEntryCount(m.course) > 0 ? GoalOfRecord(CourseEntry(m.course, 0)) : Goal{};
  p.lat = g.lat;
  p.lon = g.lon;
  JumpPilot(p, random);
  p.alt = 300;
  p.on_ground = false;
  p.focus_entry = -1;
  p.last_race_state = kOutOfRace;
}

void JumpPilot(SoakPilot& p, SoakRandom& random) {
  double north = random.Range(-6000, 6000), east = random.Range(-6000, 6000);
  p.lat += north * geo::LatitudeUnitsPerMetre();
  p.lon = std::fmod(p.lon + east * geo::LongitudeUnitsPerMetre(p.lat) + kTwo32, kTwo32);
  p.heading = static_cast<uint16_t>(random.Range(0, 65535));
}

bool FlyOneTick(SoakPilot& p, const RallyModule& m, SoakRandom& random, uint8_t* sim_state) {
  FollowState(p, sim_state);
  Goal g = CurrentGoal(p, m, random);
  if (g.exists && geo::Length(geo::OffsetBetween(p.lat, p.lon, g.lat, g.lon)) > kTooFarMetres) {
    // A position command took the aircraft off the course's map.
    p.lat = g.lat;
    p.lon = g.lon;
    JumpPilot(p, random);
  }
  Steer(p, g, random);
  Move(p);
  WriteState(p, sim_state);
  // Armed late, close to the box, so that no bonus object on the way in
  // takes the pilot out of the race first.
  bool start_box = m.race.state == kOutOfRace && p.focus_entry >= 0 &&
                   RecordType(CourseEntry(m.course, p.focus_entry)) == course::kStartGate;
  return start_box && g.exists &&
         geo::Length(geo::OffsetBetween(p.lat, p.lon, g.lat, g.lon)) < kArmMetres;
}
