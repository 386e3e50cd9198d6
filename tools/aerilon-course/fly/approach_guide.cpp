#include "tools/aerilon-course/fly/approach_guide.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kGlideSlopeDeg = 3.5;
// A landing is flown from this height above the ground onto the glide path.
constexpr double kPatternHeightM = 200;
// No turn before this height above the runway after take-off.
constexpr double kClimbOutHeightM = 100;
// Past the crossing by this much, the attempt is over.
constexpr double kOvershootM = 300;
// The sharpest angle at which the line is intercepted.
constexpr double kInterceptDeg = 60;

double Degrees(double radians) {
  return radians * 180 / kPi;
}

// Room to come onto the line: nothing when the aircraft is on it already,
// up to a U-turn and the settling of the intercept.
double TurnLead(const FlyingAircraft& a, const ApproachFrame& f, double course, double radius) {
  double off = std::fabs(AngleBetween(a.heading_deg, course));
  double across = std::fabs(f.across);
  double settle = across > 50 || off > 10 ? 2.25 * radius + 500 : 0;
  return 0.6 * across + 3 * radius * std::min(off / 90, 2.0) + settle;
}

}  // namespace

void ApproachGuide::Begin() {
  lead_ = Lead{};
  lined_up_ = false;
  was_near_ = false;
  passes_ = 0;
}

ApproachFrame ApproachGuide::Place(const FlyingAircraft& a, const Crossing& c,
                                   double course) const {
  ApproachFrame f;
  f.along = Dot(OffsetBetween(c.centre, a.position), Direction(course));
  LatLon line = c.line_point ? *c.line_point : c.centre;
  f.across = Dot(OffsetBetween(line, a.position), Direction(course + 90));
  return f;
}

// How far before the crossing the aircraft must be on the line: room to
// turn onto it, to reach the band and the speed (and for a landing the
// glide path from the pattern's height) before it; and which of them asks
// for the most.
ApproachGuide::Lead ApproachGuide::LeadIn(const FlyingAircraft& a, const Crossing& c,
                                          const ApproachFrame& f, double course) const {
  double speed = std::max(a.speed_kt, c.speed_kt);
  double metres_per_second = speed * kMetresPerSecondPerKnot;
  double radius = TurnRadius(limits_, speed);
  double wanted = c.landing ? c.altitude_m + kPatternHeightM : c.altitude_m;
  bool up = a.altitude_m < wanted;
  double rate = (up ? limits_.climb_rate_fpm : limits_.descent_rate_fpm) * kMetresPerFoot / 60;
  double height = std::max(0.0, std::fabs(a.altitude_m - wanted) - c.band_half_m / 2);
  // Into the speed range (a few knots inside it), not to the speed chosen in it.
  double change = std::max({0.0, c.speed_low_kt - a.speed_kt, a.speed_kt - c.speed_high_kt});
  char climb[96], speed_change[96];
  std::snprintf(climb, sizeof climb, "to %s %.0f m (%.0f ft)", up ? "climb" : "descend", height,
                height / kMetresPerFoot);
  std::snprintf(speed_change, sizeof speed_change, "to change speed by %.0f kn", change);
  Lead leads[] = {
      {TurnLead(a, f, course, radius), "to turn onto its line"},
      {height / rate * metres_per_second + 300, climb},
      {change / limits_.acceleration_kt_s * metres_per_second, speed_change},
      {c.landing ? kPatternHeightM / std::tan(kGlideSlopeDeg * kPi / 180) + 500 : 0,
       "to descend on the glide path"},
  };
  Lead lead = *std::max_element(std::begin(leads), std::end(leads),
                                [](const Lead& x, const Lead& y) { return x.metres < y.metres; });
  lead.metres += c.along_half_m;
  return lead;
}

double ApproachGuide::Heading(const FlyingAircraft& a, const Crossing& c, double course) {
  frame_ = Place(a, c, course);
  if (lined_up_ && frame_.along > c.along_half_m + kOvershootM) {
    lined_up_ = false;
    ++passes_;
  }
  if (!lined_up_) {
    Lead lead = LeadIn(a, c, frame_, course);
    // On a precision track the aircraft stays on the line whatever the
    // room left: going round would cost more than the target's band.
    bool on_track = c.line_point && frame_.along < -c.along_half_m &&
                    std::fabs(AngleBetween(a.heading_deg, course)) < 90;
    if (frame_.along <= -lead.metres || on_track) {
      lined_up_ = true;
    } else {
      if (lead.metres > lead_.metres) lead_ = lead;
      LatLon entry = Moved(c.centre, Scaled(Direction(course), -(lead.metres + 1000)));
      return BearingOf(OffsetBetween(a.position, entry));
    }
  }
  double radius = TurnRadius(limits_, a.speed_kt);
  double intercept = Degrees(std::atan2(frame_.across, 1.5 * radius));
  return NormalBearing(course - std::clamp(intercept, -kInterceptDeg, kInterceptDeg));
}

// Straight at the centre; when the centre lies inside the tightest turn
// it first flies on to have room (else it would circle round it).
double ApproachGuide::FreeHeading(const FlyingAircraft& a, const Crossing& c) {
  EastNorth to = OffsetBetween(a.position, c.centre);
  double distance = Length(to);
  if (distance < c.along_half_m) was_near_ = true;
  if (was_near_ && distance > c.along_half_m + kOvershootM) {
    was_near_ = false;
    ++passes_;
  }
  double bearing = BearingOf(to);
  double radius = TurnRadius(limits_, a.speed_kt);
  if (std::fabs(AngleBetween(bearing, a.heading_deg)) > 90 && distance < 2.2 * radius) {
    return a.heading_deg;
  }
  return bearing;
}

MotionCommand ApproachGuide::Vertical(const Crossing& c, MotionCommand command) const {
  if (!c.landing) {
    command.altitude_m = c.altitude_m;
    return command;
  }
  double ground = c.altitude_m;
  command.altitude_m = ground + kPatternHeightM;
  if (!lined_up_) return command;
  // The glide path meets the ground a quarter of the box in, so that the
  // two seconds on the ground are spent inside it.
  double to_touchdown = -(frame_.along + c.along_half_m / 2);
  double glide = ground + std::max(0.0, to_touchdown) * std::tan(kGlideSlopeDeg * kPi / 180) - 2;
  command.altitude_m = std::min(command.altitude_m, glide);
  if (frame_.along > -c.along_half_m + 20) command.touchdown_altitude_m = ground;
  return command;
}

MotionCommand ApproachGuide::OnGround(const FlyingAircraft& a, const Crossing& c) {
  MotionCommand command;
  command.heading_deg = a.heading_deg;
  command.altitude_m = a.altitude_m;
  if (c.landing && !rolling_for_takeoff_) {
    // Down: brake on the line and wait for the engine's verdict.
    command.stay_on_ground = true;
    command.speed_kt = 0;
    if (c.course_deg) command.heading_deg = Heading(a, c, *c.course_deg);
    if (a.speed_kt < 0.5) {
      ++passes_;  // stopped and still not met: off again
      rolling_for_takeoff_ = true;
      lined_up_ = false;
    }
    return command;
  }
  rolling_for_takeoff_ = true;
  departure_altitude_m_ = a.altitude_m;
  climbing_out_ = true;
  command.speed_kt = limits_.rotate_speed_kt;
  return command;
}

MotionCommand ApproachGuide::Command(const FlyingAircraft& a, const Crossing& c) {
  if (a.on_ground) return OnGround(a, c);
  rolling_for_takeoff_ = false;
  MotionCommand command;
  // Out to a landing's final at the manoeuvring speed; on it at the approach speed.
  command.speed_kt = c.landing && !lined_up_ ? ManoeuvringSpeed(limits_) : c.speed_kt;
  if (climbing_out_ && a.altitude_m < departure_altitude_m_ + kClimbOutHeightM) {
    command.heading_deg = a.heading_deg;
    command.altitude_m = std::max(c.altitude_m, departure_altitude_m_ + 2 * kClimbOutHeightM);
    command.speed_kt = std::max(c.speed_kt, limits_.min_speed_kt);
    return command;
  }
  climbing_out_ = false;
  command.heading_deg = c.course_deg ? Heading(a, c, *c.course_deg) : FreeHeading(a, c);
  return Vertical(c, command);
}

std::string ApproachGuide::Approach() const {
  if (lead_.metres <= 0) return "";
  char text[160];
  std::snprintf(text, sizeof text, "lined up from up to %.1f km before it, %s", lead_.metres / 1000,
                lead_.why.c_str());
  return text;
}
