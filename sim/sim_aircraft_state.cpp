#include "sim/sim_aircraft_state.h"

#include "rally/host/host_interface.h"

void ApplyAircraftChange(uint8_t* s, const SimAircraftChange& c) {
  if (c.latitude) SetSimAircraftLatitude(s, FromUpperWord(*c.latitude));
  if (c.longitude) SetSimAircraftLongitude(s, FromUpperWord(static_cast<int32_t>(*c.longitude)));
  if (c.altitude) SetSimAircraftAltitude(s, FromUpperWord(*c.altitude));
  if (c.speed) SetSimAircraftSpeed(s, *c.speed);
  if (c.heading) SetSimAircraftHeading(s, static_cast<uint32_t>(*c.heading) << 16);
  if (c.on_ground) SetSimOnGround(s, *c.on_ground);
  if (c.crashed) SetSimCrashed(s, *c.crashed);
  if (c.slew) SetSimSlewActive(s, *c.slew);
  if (c.pause) SetSimPauseFlag(s, *c.pause);
  if (c.suspend) SetSimSuspendFlag(s, *c.suspend);
  if (c.condition) SetSimConditionIndex(s, *c.condition);
  if (c.magnetic_variation) SetSimMagneticVariation(s, *c.magnetic_variation);
}
