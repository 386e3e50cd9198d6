// How long `aerilon-course map` takes to draw what grows without bound: a
// flown track of 20,000 points that zig-zags across the sample course,
// crossing itself again and again, and a course of 100,000 entries (the
// sample course's legs and bonus objects scattered over it). Run by hand:
// build/native/bench/course_map_bench. With `--write FOLDER [ENTRIES
// [POINTS]]` it writes the two inputs as files instead
// (FOLDER/big_course.DAT, FOLDER/crossing_flight.jsonl), to time the tool
// itself: aerilon-course map FOLDER/big_course.DAT -o big.png, and
// aerilon-course map SOURCE --flight FOLDER/crossing_flight.jsonl.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "course_model/course_writer.h"
#include "examples/compiled_sample_course.h"
#include "tools/aerilon-course/map/course_map.h"
#include "tools/aerilon-course/map/map_objects.h"

namespace {

CourseDocument SampleDocument() {
  CourseDocument document;
  document.file = "Rally.DAT";
  document.course = SampleCourse();
  return document;
}

// The middle of the sample course and how far it reaches, in file units.
struct Area {
  double lat, lon, half_lat, half_lon;
};

Area SampleArea() {
  const course_model::Course course = SampleCourse();
  double lat_min = 1e18, lat_max = -1e18, lon_min = 1e18, lon_max = -1e18;
  for (const course_model::Leg& leg : course.legs) {
    for (const course_model::LegRecord& record : leg.records) {
      std::optional<GeoPoint> p = TargetPoint(record);
      if (!p) continue;
      double lat = p->lat, lon = p->lon;
      lat_min = std::min(lat_min, lat), lat_max = std::max(lat_max, lat);
      lon_min = std::min(lon_min, lon), lon_max = std::max(lon_max, lon);
    }
  }
  return Area{(lat_min + lat_max) / 2, (lon_min + lon_max) / 2, (lat_max - lat_min) / 2,
              (lon_max - lon_min) / 2};
}

// The generator of the C runtime, so that every run draws the same.
struct Random {
  uint32_t state = 1998;
  double Next() {  // 0 to 1
    state = state * 214013u + 2531011u;
    return static_cast<double>((state >> 16) & 0x7FFF) / 32767.0;
  }
};

// A track that zig-zags from side to side of the course, each time to
// another latitude: every stretch crosses most of the others.
std::vector<TrackPoint> CrossingFlight(size_t points) {
  Area a = SampleArea();
  Random random;
  std::vector<TrackPoint> flight;
  for (size_t i = 0; i < points; ++i) {
    double side = (i % 2 == 0 ? -1 : 1) * (0.8 + 0.2 * random.Next());
    flight.push_back(TrackPoint{static_cast<int32_t>(a.lat + a.half_lat * (2 * random.Next() - 1)),
                                static_cast<int32_t>(a.lon + a.half_lon * side), 300});
  }
  return flight;
}

// The sample course with bonus objects scattered over it up to `entries`.
CourseDocument CrowdedCourse(size_t entries) {
  CourseDocument document = SampleDocument();
  Area a = SampleArea();
  Random random;
  course_model::BonusObject balloon = document.course.bonus_objects.at(0);
  while (document.course.legs.size() + document.course.bonus_objects.size() < entries) {
    balloon.lat = static_cast<int32_t>(a.lat + a.half_lat * (2 * random.Next() - 1) * 1.2);
    balloon.lon = static_cast<int32_t>(a.lon + a.half_lon * (2 * random.Next() - 1) * 1.2);
    document.course.bonus_objects.push_back(balloon);
  }
  return document;
}

void Draw(benchmark::State& state, const CourseDocument& document,
          const std::vector<TrackPoint>& flight) {
  const std::string png = "course_map_bench.png";
  for (auto _ : state) {
    std::string error;
    if (!DrawCourseMap(document, flight, png, &error)) {
      state.SkipWithError(error.c_str());
      break;
    }
  }
  std::remove(png.c_str());
}

void CrossingTrack(benchmark::State& state) {
  Draw(state, SampleDocument(), CrossingFlight(static_cast<size_t>(state.range(0))));
  state.counters["points"] = static_cast<double>(state.range(0));
}

void CrowdedCourseMap(benchmark::State& state) {
  Draw(state, CrowdedCourse(static_cast<size_t>(state.range(0))), {});
  state.counters["entries"] = static_cast<double>(state.range(0));
}

bool WriteInputs(const std::string& folder, size_t entries, size_t points) {
  std::string course = folder + "/big_course.DAT", flight = folder + "/crossing_flight.jsonl";
  if (!WriteCourseFile(course, CrowdedCourse(entries).course)) return false;
  std::ofstream out(flight);
  int64_t tick = 1;
  for (const TrackPoint& p : CrossingFlight(points)) {
    out << "{\"tick\":" << tick++ << ",\"state\":{\"lat\":" << p.lat << ",\"lon\":" << p.lon
        << ",\"alt\":" << p.alt << "}}\n";
  }
  std::printf("%s\n%s\n", course.c_str(), flight.c_str());
  return static_cast<bool>(out.flush());
}

}  // namespace

// Arguments: points of the track; entries of the course. Twice as much
// input should take about twice as long.
BENCHMARK(CrossingTrack)->Arg(5000)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(CrowdedCourseMap)
    ->Arg(5000)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (argc >= 3 && std::strcmp(argv[1], "--write") == 0) {
    size_t entries = argc > 3 ? std::stoul(argv[3]) : 100000;
    size_t points = argc > 4 ? std::stoul(argv[4]) : 20000;
    return WriteInputs(argv[2], entries, points) ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
