#include "tools/aerilon-course/fly/aircraft_motion.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kGravity = 9.80665;
constexpr double kPi = 3.14159265358979323846;
// The altitude error that is flown off in this many seconds (at most at
// the climb or descent rate): a gentle capture of the wanted altitude.
constexpr double kAltitudeCaptureSeconds = 1.5;

double Towards(double value, double wanted, double step) {
  if (value < wanted) return std::min(wanted, value + step);
  return std::max(wanted, value - step);
}

void Turn(FlyingAircraft& a, double wanted, double rate, double seconds) {
  double error = AngleBetween(wanted, a.heading_deg);
  double step = std::clamp(error, -rate * seconds, rate * seconds);
  a.heading_deg = NormalBearing(a.heading_deg + step);
}

void Advance(FlyingAircraft& a, double seconds) {
  double metres = a.speed_kt * kMetresPerSecondPerKnot * seconds;
  a.position = Moved(a.position, Scaled(Direction(a.heading_deg), metres));
}

// Accelerating to the rotation speed over the take-off roll, braking from
// the approach speed over the landing roll (uniformly).
double GroundAcceleration(const AircraftLimits& l) {
  double v = l.rotate_speed_kt * kMetresPerSecondPerKnot;
  return v * v / (2 * l.takeoff_roll_m) / kMetresPerSecondPerKnot;
}

double GroundDeceleration(const AircraftLimits& l) {
  double v = l.approach_speed_kt * kMetresPerSecondPerKnot;
  return v * v / (2 * l.landing_roll_m) / kMetresPerSecondPerKnot;
}

void Roll(FlyingAircraft& a, const MotionCommand& c, const AircraftLimits& l, double seconds) {
  if (c.stay_on_ground) {
    double rate = c.speed_kt > a.speed_kt ? GroundAcceleration(l) : GroundDeceleration(l);
    a.speed_kt = Towards(a.speed_kt, std::max(0.0, c.speed_kt), rate * seconds);
    Turn(a, c.heading_deg, l.max_turn_rate_dps / 2, seconds);
  } else {
    // The take-off run keeps its heading.
    a.speed_kt = std::min(l.rotate_speed_kt, a.speed_kt + GroundAcceleration(l) * seconds);
    if (a.speed_kt >= l.rotate_speed_kt) a.on_ground = false;
  }
  Advance(a, seconds);
}

void Fly(FlyingAircraft& a, const MotionCommand& c, const AircraftLimits& l, double seconds) {
  double wanted_speed = std::clamp(c.speed_kt, l.min_speed_kt, l.max_speed_kt);
  a.speed_kt = Towards(std::max(a.speed_kt, std::min(l.rotate_speed_kt, l.min_speed_kt)),
                       wanted_speed, l.acceleration_kt_s * seconds);
  Turn(a, c.heading_deg, TurnRate(l, a.speed_kt), seconds);
  double climb = l.climb_rate_fpm * kMetresPerFoot / 60;
  double descent = l.descent_rate_fpm * kMetresPerFoot / 60;
  double rate =
      std::clamp((c.altitude_m - a.altitude_m) / kAltitudeCaptureSeconds, -descent, climb);
  a.altitude_m += rate * seconds;
  if (c.touchdown_altitude_m && a.altitude_m <= *c.touchdown_altitude_m + 0.3) {
    a.altitude_m = *c.touchdown_altitude_m;
    a.on_ground = true;
  }
  Advance(a, seconds);
}

}  // namespace

double TurnRate(const AircraftLimits& l, double speed_kt) {
  double v = std::max(speed_kt, 1.0) * kMetresPerSecondPerKnot;
  double rate = kGravity * std::tan(l.max_bank_deg * kPi / 180) / v * 180 / kPi;
  return std::min(rate, l.max_turn_rate_dps);
}

double TurnRadius(const AircraftLimits& l, double speed_kt) {
  double v = speed_kt * kMetresPerSecondPerKnot;
  return v / (TurnRate(l, speed_kt) * kPi / 180);
}

double ManoeuvringSpeed(const AircraftLimits& l) {
  double slow = l.approach_speed_kt, fast = l.cruise_speed_kt;
  if (TurnRadius(l, fast) <= kManoeuvreRadiusMetres) return fast;
  for (int i = 0; i < 40; ++i) {
    double mid = (slow + fast) / 2;
    (TurnRadius(l, mid) <= kManoeuvreRadiusMetres ? slow : fast) = mid;
  }
  return std::round(slow);
}

void StepAircraft(FlyingAircraft& a, const MotionCommand& command, const AircraftLimits& limits,
                  double seconds) {
  if (a.on_ground) {
    Roll(a, command, limits, seconds);
  } else {
    Fly(a, command, limits, seconds);
  }
}
