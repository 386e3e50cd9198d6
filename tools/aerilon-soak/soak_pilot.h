#pragma once

#include <cstdint>

#include "tools/aerilon-soak/soak_random.h"

struct RallyModule;

// The soak's pilot: a random walk of position, altitude, speed and heading
// with a pull toward what the race asks for next (the running leg's
// target, the bonus object approached, or an entry the pilot has picked:
// a start box or a bonus object), flown in from the required direction at
// a speed and altitude the object accepts, landing where a landing is due.
struct SoakPilot {
  double lat = 0, lon = 0, alt = 300;  // latitude units, longitude units (0 to 2^32), metres
  int32_t speed = 110 * 128;           // knots x 128
  uint16_t heading = 0;
  bool on_ground = false;
  int32_t focus_entry = -1;  // the entry flown to while no leg runs
  int32_t focus_ticks = 0;   // ticks spent on it
  int32_t last_race_state = 0;
  int64_t written_lat = 0, written_lon = 0,
          written_alt = 0;  // what the pilot last put in sim_state
};

// Puts the pilot near one of the course's entries, airborne.
void PlacePilot(SoakPilot& p, const RallyModule& m, SoakRandom& random);

// One tick of flight, written into the simulator's state block. Returns
// true when the pilot wants to enter the race: its goal is a start box
// less than half a kilometre ahead and the race is not armed.
bool FlyOneTick(SoakPilot& p, const RallyModule& m, SoakRandom& random, uint8_t* sim_state);

// A jump: the aircraft appears a few kilometres from where it was.
void JumpPilot(SoakPilot& p, SoakRandom& random);
