#include "tools/aerilon-course/fly/state_lines.h"

#include <cmath>

namespace {

SimAircraftChange InFileUnits(const FlyingAircraft& a) {
  SimAircraftChange now;
  now.latitude = LatitudeWord(a.position.lat);
  now.longitude = LongitudeWord(a.position.lon);
  now.altitude = static_cast<int32_t>(std::lround(a.altitude_m));
  now.speed = static_cast<int32_t>(std::lround(a.speed_kt * 128));
  now.heading = static_cast<uint16_t>(std::lround(a.heading_deg * 65536 / 360) & 0xFFFF);
  now.on_ground = a.on_ground ? 1 : 0;
  return now;
}

SimAircraftChange ChangedFields(const SimAircraftChange& was, const SimAircraftChange& now) {
  SimAircraftChange c;
  if (now.latitude != was.latitude) c.latitude = now.latitude;
  if (now.longitude != was.longitude) c.longitude = now.longitude;
  if (now.altitude != was.altitude) c.altitude = now.altitude;
  if (now.speed != was.speed) c.speed = now.speed;
  if (now.heading != was.heading) c.heading = now.heading;
  if (now.on_ground != was.on_ground) c.on_ground = now.on_ground;
  return c;
}

bool HasFields(const SimAircraftChange& c) {
  return c.latitude || c.longitude || c.altitude || c.speed || c.heading || c.on_ground ||
         c.crashed || c.slew || c.pause;
}

}  // namespace

std::optional<FlightLine> StateLines::Next(const FlyingAircraft& aircraft, int64_t tick) {
  SimAircraftChange now = InFileUnits(aircraft);
  FlightLine line;
  line.tick = tick;
  line.action = FlightAction::kState;
  if (!written_) {
    line.state = now;
    line.state.crashed = 0;
    line.state.slew = 0;
    line.state.pause = 0;
    written_ = true;
  } else {
    line.state = ChangedFields(last_, now);
  }
  last_ = now;
  if (!HasFields(line.state)) return std::nullopt;
  return line;
}
