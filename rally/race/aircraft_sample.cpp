#include "rally/race/aircraft_sample.h"

#include "rally/state/module.h"

AircraftSample SampleAircraft(const RallyModule& m) {
  const uint8_t* s = m.host.sim_state;
  HostPosition p = SimAircraftPosition(s);
  AircraftSample a;
  a.latitude = UpperWord(p.latitude);
  a.longitude = UpperWord(p.longitude);
  a.altitude = UpperWord(p.altitude);
  a.speed = SimAircraftSpeed(s);
  a.on_ground = SimOnGround(s) != 0;
  a.heading = SimAircraftHeadingAngle(s);
  a.condition = SimConditionIndex(s);
  return a;
}

int32_t DistanceFromAircraft(RallyModule& m, const HostPosition& to, uint16_t* bearing) {
  uint8_t block[kPositionBytes];
  StorePosition(block, to);
  uint32_t true_bearing = 0;
  int32_t distance = 0;
  m.host.distance_and_bearing(m.host.context, m.host.sim_state + sim_field::kAircraftPosition,
                              block, &true_bearing, &distance);
  if (bearing != nullptr) *bearing = static_cast<uint16_t>(true_bearing);
  return distance;
}

HostPosition AtAircraftAltitude(const RallyModule& m, HostPosition to) {
  to.altitude = FromUpperWord(UpperWord(SimAircraftPosition(m.host.sim_state).altitude));
  return to;
}
