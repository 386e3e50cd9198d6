#pragma once

#include <optional>
#include <string>

#include "tools/aerilon-course/fly/aircraft_motion.h"

// One thing the autopilot must fly through: a start box, a gate, a
// waypoint's circle or a landing box, with the band, speed and course the
// race engine wants there.
struct Crossing {
  LatLon centre;
  double along_half_m = 0;  // half the box's length along the course, or the radius
  double altitude_m = 0;    // the band's centre
  double band_half_m = 0;
  double speed_kt = 0;                         // what to fly it at (inside its range)
  double speed_low_kt = 0, speed_high_kt = 0;  // what is near enough: a few knots inside the range
  std::optional<double> course_deg;            // nullopt: from any direction
  // The line flown onto it: through `centre` along the course, or, on a
  // precision track, the track's line through its reference point.
  std::optional<LatLon> line_point;
  bool landing = false;  // touch down inside it and stop (altitude_m is the ground's)
};

// Where the aircraft is from a crossing, along its course.
struct ApproachFrame {
  double along = 0;   // metres past the centre, along the course
  double across = 0;  // metres right of the line
};

// Flies an aircraft onto a crossing. With a course it first goes to a point
// far enough before the crossing on the course's line to turn onto it, reach
// the band and the speed (and, for a landing, the glide path) on the way,
// then follows the line through it; flown past without it being met, it goes
// round and tries again. Without a course it flies straight at the centre.
class ApproachGuide {
 public:
  explicit ApproachGuide(const AircraftLimits& limits) : limits_(limits) {}

  // A new crossing: the counts start again.
  void Begin();
  MotionCommand Command(const FlyingAircraft& a, const Crossing& c);
  // Times the aircraft went past (or stopped on the ground) without
  // meeting the crossing.
  int passes() const { return passes_; }
  // What the way onto the crossing's line was made for, when the guide had
  // to go out to a point before it ("lined up from up to 4.2 km before it, to climb
  // 900 m (2953 ft)"); empty when it went straight on.
  std::string Approach() const;

 private:
  struct Lead {
    double metres = 0;
    std::string why;
  };
  ApproachFrame Place(const FlyingAircraft& a, const Crossing& c, double course) const;
  Lead LeadIn(const FlyingAircraft& a, const Crossing& c, const ApproachFrame& f,
              double course) const;
  double Heading(const FlyingAircraft& a, const Crossing& c, double course);
  double FreeHeading(const FlyingAircraft& a, const Crossing& c);
  MotionCommand Vertical(const Crossing& c, MotionCommand command) const;
  MotionCommand OnGround(const FlyingAircraft& a, const Crossing& c);

  const AircraftLimits& limits_;
  bool lined_up_ = false;
  Lead lead_;              // the last lead-in gone out for
  bool was_near_ = false;  // inside a course-free crossing's radius
  int passes_ = 0;
  double departure_altitude_m_ = 0;
  bool climbing_out_ = false;
  bool rolling_for_takeoff_ = false;
  ApproachFrame frame_;
};
