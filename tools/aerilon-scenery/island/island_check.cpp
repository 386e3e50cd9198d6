#include "tools/aerilon-scenery/island/island_check.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "rally/race/start_positions.h"
#include "tools/aerilon-course/source/start_positions_near.h"
#include "tools/aerilon-scenery/island/island_geometry.h"

namespace {

struct OnRunway {
  const Airfield* field = nullptr;
  const Runway* runway = nullptr;
};

std::string Printf(const char* format, double a, double b = 0) {
  char text[200];
  std::snprintf(text, sizeof text, format, a, b);
  return text;
}

// The runways under a point, with their fields.
std::vector<OnRunway> RunwaysUnder(const Island& island, IslandPoint p) {
  std::vector<OnRunway> under;
  for (const Airfield& field : island.airfields) {
    for (const Runway& r : field.runways) {
      if (PlaceOnRunway(r, p).inside) under.push_back(OnRunway{&field, &r});
    }
  }
  return under;
}

class IslandChecker {
 public:
  IslandChecker(const Island& island, std::vector<Diagnostic>* out) : island_(island), out_(out) {}

  void StartPositions() {
    for (uint32_t i = 0; i < kStartPositionCount; ++i) {
      const StartPosition* s = StartPositionForSlot(kFirstStartPositionSlot + i);
      IslandPoint at{static_cast<int32_t>(s->latitude), static_cast<int32_t>(s->longitude)};
      double heading = (s->heading >> 16) * 360.0 / 65536;
      std::string who =
          "start position " + std::to_string(i + 1) + " (" + StartPositionName(i) + ")";
      std::optional<OnRunway> on = Facing(at, heading);
      if (!on) {
        Error(SourceSpot{},
              who + Printf(" stands on no runway facing %.0f degrees within 5", heading));
        continue;
      }
      std::optional<int32_t> ground = GroundElevation(island_, at);
      if (!ground || *ground != static_cast<int32_t>(s->metres)) {
        Error(on->field->spot,
              who + ": the ground there is at " +
                  (ground ? std::to_string(*ground) + " m" : std::string("sea level")) +
                  ", the position at " + std::to_string(s->metres) + " m");
      }
    }
  }

  void Course(const CourseDocument& course) {
    for (size_t l = 0; l < course.course.legs.size(); ++l) {
      const course_model::Leg& leg = course.course.legs[l];
      Inside(course, Middle(leg.start.box), "leg " + std::to_string(l + 1) + ", start box");
      for (size_t r = 0; r < leg.records.size(); ++r) {
        std::string what = "leg " + std::to_string(l + 1) + ", record " + std::to_string(r + 1);
        if (const auto* g = std::get_if<course_model::Gate>(&leg.records[r]))
          Inside(course, Middle(g->box), what);
        if (const auto* w = std::get_if<course_model::Waypoint>(&leg.records[r])) {
          Inside(course, IslandPoint{w->lat, w->lon}, what);
        }
        if (const auto* d = std::get_if<course_model::Landing>(&leg.records[r])) {
          Inside(course, Middle(d->box), what);
          Landing(course, *d, what + " (landing)");
        }
      }
    }
    for (size_t b = 0; b < course.course.bonus_objects.size(); ++b) {
      const course_model::BonusObject& o = course.course.bonus_objects[b];
      Inside(course, IslandPoint{o.lat, o.lon}, "bonus object " + std::to_string(b + 1));
    }
  }

  void RunwaysAndLandmarks() {
    for (const Airfield& field : island_.airfields) {
      for (const Runway& r : field.runways) {
        Island land_only = island_;
        land_only.airfields.clear();
        if (!GroundElevation(land_only, r.centre)) {
          Error(r.spot,
                field.name + ": the runway's centre lies over the sea, outside every [[land]]");
        }
      }
    }
    for (const Landmark& l : island_.landmarks) {
      for (const OnRunway& on : RunwaysUnder(island_, l.at)) {
        Error(l.spot, l.name + " stands on a runway of " + on.field->name);
      }
    }
  }

 private:
  static IslandPoint Middle(const course_model::Box& b) {
    return IslandPoint{static_cast<int32_t>((int64_t{b.lat_min} + b.lat_max) / 2),
                       static_cast<int32_t>((int64_t{b.lon_min} + b.lon_max) / 2)};
  }

  std::optional<OnRunway> Facing(IslandPoint at, double heading) const {
    for (const OnRunway& on : RunwaysUnder(island_, at)) {
      if (RunwayHeadingOff(*on.runway, heading) <= kRunwayHeadingTolerance) return on;
    }
    return std::nullopt;
  }

  void Inside(const CourseDocument& course, IslandPoint at, const std::string& what) {
    if (BoundsOf(island_).Contains(at)) return;
    Error(SourceSpot{}, course.file + ": " + what + " lies outside the island's bounds");
  }

  // The box's centre and the points a quarter of its length either side
  // of it along the landing's direction lie on one runway of the field.
  void Landing(const CourseDocument& course, const course_model::Landing& d,
               const std::string& what) {
    IslandPoint centre = Middle(d.box);
    IslandOffset size = OffsetFrom(IslandPoint{d.box.lat_min, d.box.lon_min},
                                   IslandPoint{d.box.lat_max, d.box.lon_max});
    bool any = d.heading >= 65536;
    for (const OnRunway& on : RunwaysUnder(island_, centre)) {
      const Runway& r = *on.runway;
      double wanted = any ? r.heading : static_cast<uint16_t>(d.heading) * 360.0 / 65536;
      if (RunwayHeadingOff(r, wanted) > kRunwayHeadingTolerance) continue;
      double h = r.heading * 3.14159265358979323846 / 180;
      double half =
          std::fabs(std::sin(h)) * size.east / 2 + std::fabs(std::cos(h)) * size.north / 2;
      RunwayPlace p = PlaceOnRunway(r, centre);
      bool spans = std::fabs(p.along) + half / 2 <= r.length / 2;
      if (!spans) continue;
      if (on.field->elevation != d.alt) {
        Error(on.field->spot, course.file + ": " + what + ": its altitude is " +
                                  std::to_string(d.alt) + " m, " + on.field->name + " stands at " +
                                  std::to_string(on.field->elevation) + " m");
      }
      return;
    }
    Error(SourceSpot{}, course.file + ": " + what +
                            " has no runway along it through its middle half" +
                            (any ? ""
                                 : Printf(" facing %.0f degrees within 5",
                                          static_cast<uint16_t>(d.heading) * 360.0 / 65536)));
  }

  void Error(SourceSpot spot, const std::string& message) {
    out_->push_back(Diagnostic{Severity::kError, island_.file, spot.line, spot.column, message});
  }

  const Island& island_;
  std::vector<Diagnostic>* out_;
};

}  // namespace

std::vector<Diagnostic> CheckIsland(const Island& island,
                                    const std::vector<CourseDocument>& courses) {
  std::vector<Diagnostic> findings;
  IslandChecker checker(island, &findings);
  checker.StartPositions();
  for (const CourseDocument& course : courses) checker.Course(course);
  checker.RunwaysAndLandmarks();
  return findings;
}
