#include "tools/aerilon-soak/soak.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <vector>

#include "course_model/course_writer.h"
#include "examples/compiled_sample_course.h"
#include "rally/course/course_check.h"
#include "tools/aerilon-soak/course_generator.h"

namespace fs = std::filesystem;

namespace {

struct SoakCourse {
  std::string name;
  fs::path root;  // the simulator folder
};

fs::path ScoreFile(const SoakCourse& c) {
  return c.root / "ADV" / "RALLY" / "Rally.SCO";
}

std::optional<SoakViolation> WriteCourseFolder(const SoakCourse& c,
                                               const course_model::Course& course) {
  std::vector<uint8_t> image = LayOutCourse(course);
  CourseCheck check = CheckCourseImage(image.data(), static_cast<uint32_t>(image.size()));
  if (check.problem != CourseProblem::kNone) {
    return SoakViolation{"course generator", c.name + ": " + DescribeCourseProblem(check.problem) +
                                                 " at offset " + std::to_string(check.offset)};
  }
  fs::create_directories(c.root / "ADV" / "RALLY");
  if (!WriteCourseFile((c.root / "ADV" / "RALLY" / "Rally.DAT").string(), course)) {
    return SoakViolation{"course generator", c.name + ": the course file cannot be written"};
  }
  return std::nullopt;
}

// Between two runs on a course, its score file is removed, made read-only
// (no write bit for anyone: the stand-in refuses it as Windows refuses a
// read-only file, even to root), made writable again or left as it is.
void TouchScoreFile(const SoakCourse& c, SoakRandom& random) {
  fs::path file = ScoreFile(c);
  std::error_code ignored;
  switch (random.Range(0, 3)) {
    case 0: fs::remove(file, ignored); break;
    case 1: ::chmod(file.c_str(), 0444); break;
    case 2: ::chmod(file.c_str(), 0644); break;
    default: break;
  }
}

struct TempRoot {
  fs::path path;
  TempRoot() {
    char name[] = "/tmp/aerilon-soak-XXXXXX";
    if (mkdtemp(name) != nullptr) path = name;
  }
  ~TempRoot() {
    std::error_code ignored;
    if (!path.empty()) fs::remove_all(path, ignored);
  }
};

std::optional<SoakViolation> MakeCourses(const fs::path& root, int32_t generated,
                                         SoakRandom& random, std::vector<SoakCourse>& courses) {
  courses.push_back(SoakCourse{"the sample course", root / "sample"});
  if (auto v = WriteCourseFolder(courses.back(), SampleCourse())) return v;
  for (int32_t k = 0; k < generated; ++k) {
    courses.push_back(SoakCourse{"generated course " + std::to_string(k + 1),
                                 root / ("course-" + std::to_string(k + 1))});
    if (auto v = WriteCourseFolder(courses.back(), GenerateCourse(random))) return v;
  }
  return std::nullopt;
}

// Run r flies the sample course when r is even, else the generated ones in turn.
size_t CourseOfRun(int64_t run, size_t courses) {
  if (courses == 1 || run % 2 == 0) return 0;
  return 1 + static_cast<size_t>(run / 2) % (courses - 1);
}

std::optional<SoakViolation> FlyModuleRun(const SoakCourse& course, int64_t ticks, uint32_t seed,
                                          SoakRandom& random, SoakCounts& counts) {
  auto run = std::make_unique<SoakModuleRun>();
  std::optional<SoakViolation> found =
      StartSoakModule(*run, course.root.string(), seed, random, counts);
  for (int64_t t = 0; t < ticks && !found; ++t) found = SoakTick(*run);
  if (found) {
    StopSoakModule(*run);
    return found;
  }
  return StopSoakModule(*run);
}

}  // namespace

SoakReport RunSoak(const SoakOptions& o) {
  SoakReport report;
  auto started = std::chrono::steady_clock::now();
  SoakRandom random(o.seed);
  TempRoot root;
  std::vector<SoakCourse> courses;
  report.violation = MakeCourses(root.path, o.courses, random, courses);
  std::set<size_t> flown;
  for (int64_t run = 0; !report.violation && report.counts.ticks < o.ticks; ++run) {
    size_t index = CourseOfRun(run, courses.size());
    if (flown.count(index) != 0) TouchScoreFile(courses[index], random);
    flown.insert(index);
    int64_t ticks = std::min(o.run_ticks, o.ticks - report.counts.ticks);
    uint32_t seed = o.seed + static_cast<uint32_t>(run);
    report.violation = FlyModuleRun(courses[index], ticks, seed, random, report.counts);
    report.where = "module run " + std::to_string(run + 1) + " on " + courses[index].name;
  }
  report.courses_flown = static_cast<int32_t>(flown.size());
  std::chrono::duration<double> wall = std::chrono::steady_clock::now() - started;
  report.wall_seconds = wall.count();
  return report;
}
