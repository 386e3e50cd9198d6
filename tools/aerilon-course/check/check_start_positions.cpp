// Where a pilot starts: the module puts the aircraft only at the eight
// airfields of its menu, so a course whose first start box is far from all
// of them begins with a long ferry flight that no leg counts.
#include <cstdio>

#include "tools/aerilon-course/check/check_rules.h"
#include "tools/aerilon-course/source/start_positions_near.h"

void CheckStartPositions(LintReport& report) {
  const course_model::Course& course = report.course();
  if (course.legs.empty()) return;
  const course_model::Box& box = course.legs[0].start.box;
  // A box that never holds, or lies beyond a pole, is told as such.
  constexpr int32_t kPole = 10001750;
  if (box.lat_min > box.lat_max || box.lon_min > box.lon_max) return;
  if (box.lat_min < -kPole || box.lat_max > kPole) return;
  int32_t lat = static_cast<int32_t>((int64_t{box.lat_min} + box.lat_max) / 2);
  int32_t lon = static_cast<int32_t>((int64_t{box.lon_min} + box.lon_max) / 2);
  NearestStartPosition nearest = NearestStartPositionTo(lat, lon);
  if (nearest.metres <= kStartPositionReachMetres) return;
  char text[320];
  std::snprintf(text, sizeof text,
                "no start position of the module's menu lies within %.0f km of it (the nearest, "
                "%u. %s, is %.0f km away): the pilot flies there before the first leg, which "
                "the start positions cannot shorten; they are fixed in the module",
                kStartPositionReachMetres / 1000, nearest.index + 1, nearest.name.c_str(),
                nearest.metres / 1000);
  report.Warning(StartBoxOf(0), text);
}
