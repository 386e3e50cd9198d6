#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "rally/race/start_positions.h"
#include "tools/aerilon-course/load_course_document.h"
#include "tools/aerilon-scenery/island/island_check.h"
#include "tools/aerilon-scenery/island/island_geometry.h"
#include "tools/aerilon-scenery/island/island_reader.h"

namespace {

const std::string kExamples = std::string(AERILON_SOURCE_DIR) + "/examples/";

std::string ReadText(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<CourseDocument> CoursesOf(const Island& island, const std::string& folder) {
  std::vector<CourseDocument> courses;
  for (const std::string& name : island.courses) {
    CourseDocument course;
    std::vector<Diagnostic> problems;
    EXPECT_TRUE(LoadCourseDocument(folder + name, &course, &problems)) << name;
    courses.push_back(course);
  }
  return courses;
}

// The island source with its first `from` made `to`, written with copies
// of the courses it names into a folder of the test's, checked.
std::vector<Diagnostic> CheckChanged(const std::string& from, const std::string& to) {
  std::string text = ReadText(kExamples + "island.toml");
  size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  std::string folder = testing::TempDir() + "/";
  Island shipped;
  std::vector<Diagnostic> found;
  EXPECT_TRUE(LoadIsland(kExamples + "island.toml", &shipped, &found));
  for (const std::string& name : shipped.courses) {
    std::ofstream(folder + name) << ReadText(kExamples + name);
  }
  std::ofstream(folder + "island.toml") << text;
  Island island;
  if (LoadIsland(folder + "island.toml", &island, &found)) {
    std::vector<Diagnostic> checked = CheckIsland(island, CoursesOf(island, folder));
    found.insert(found.end(), checked.begin(), checked.end());
  }
  return found;
}

// The shipped island has a runway under each of the eight start positions,
// facing their way, at their fields' elevations; under each landing of the
// shipped courses; and holds every object of them.
TEST(Island, TheShippedIslandAgreesWithTheModuleAndItsCourses) {
  Island island;
  std::vector<Diagnostic> problems;
  ASSERT_TRUE(LoadIsland(kExamples + "island.toml", &island, &problems))
      << (problems.empty() ? "" : FormatDiagnostic(problems[0]));
  EXPECT_EQ(island.airfields.size(), kStartPositionCount);
  std::vector<CourseDocument> courses = CoursesOf(island, kExamples);
  EXPECT_GE(courses.size(), 2u);
  for (const Diagnostic& d : CheckIsland(island, courses)) ADD_FAILURE() << FormatDiagnostic(d);
  // The fields stand where the positions put the aircraft, at their metres.
  for (uint32_t i = 0; i < kStartPositionCount; ++i) {
    const StartPosition* s = StartPositionForSlot(kFirstStartPositionSlot + i);
    IslandPoint at{static_cast<int32_t>(s->latitude), static_cast<int32_t>(s->longitude)};
    EXPECT_EQ(GroundElevation(island, at), static_cast<int32_t>(s->metres)) << i + 1;
  }
}

// Each kind of disagreement is found, and said at the island's line where
// it has one.
TEST(IslandCheck, EachDisagreementIsFound) {
  struct Case {
    const char* from;
    const char* to;
    const char* found;
  } cases[] = {
      {"heading = 301.64\n", "heading = 290\n",
       "start position 2 (Kestrin's Municipal) stands on no runway facing 302 degrees within 5"},
      {"name = \"Mountain View Airport\"\nelevation = \"450 m\"",
       "name = \"Mountain View Airport\"\nelevation = \"400 m\"",
       "start position 7 (Mountain View Airport): the ground there is at 400 m, the position at "
       "450 m"},
      {"north = \"-225 m\"", "north = \"-800 m\"",
       "start position 7 (Mountain View Airport) stands on no runway"},
      {"at = \"Ralliest Base\"\nheading = 180\nlength = \"1600 m\"",
       "at = \"Ralliest Base\"\nheading = 180\nlength = \"500 m\"",
       "island_tour.toml: leg 3, record 11 (landing) has no runway along it through its middle "
       "half facing 180 degrees"},
      {"name = \"Air Force Base\"\nelevation = \"6 m\"",
       "name = \"Air Force Base\"\nelevation = \"9 m\"",
       "(landing): its altitude is 6 m, Air Force Base stands at 9 m"},
      {"east = \"27 km\", north = \"0 km\"",
       "east = \"27 km\", north = \"0 km\" }, { at = \"Ralliest Base\", east = \"26 km\", north = "
       "\"-2 km\"",
       ""},  // a corner more changes nothing
      {"name = \"Air Force Base tower\"\nkind = \"tower\"\nat = \"Air Force Base\"\neast = \"200 "
       "m\"",
       "name = \"Air Force Base tower\"\nkind = \"tower\"\nat = \"Air Force Base\"\neast = \"10 "
       "m\"",
       "Air Force Base tower stands on a runway of Air Force Base"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.to);
    std::vector<Diagnostic> found = CheckChanged(c.from, c.to);
    if (*c.found == '\0') {
      EXPECT_TRUE(found.empty()) << FormatDiagnostic(found.front());
      continue;
    }
    ASSERT_FALSE(found.empty());
    std::string told;
    for (const Diagnostic& d : found) told += FormatDiagnostic(d) + "\n";
    EXPECT_NE(told.find(c.found), std::string::npos) << told;
  }
}

// Each mistake in an island source is told at its line and column.
TEST(IslandSource, EachMistakeIsToldAtItsLine) {
  const std::string start =
      "title = \"T\"\n[[land]]\nelevation = 5\noutline = [{ lat = \"N1\", lon = \"E1\" }, { lat = "
      "\"N1.1\", lon = \"E1\" }, { lat = \"N1\", lon = \"E1.1\" }]\n";
  struct Case {
    std::string text;
    std::string message;
  } cases[] = {
      {start + "[[airfield]]\nname = \"F\"\nelevation = 5\n[[airfield.runway]]\nlat = \"N1\"\nlon "
               "= \"E1\"\nheading = 90\nlength = \"800 m\"\nwidth = \"20 m\"\nsurface = \"gras\"\n",
       "test.toml:14:11: error: airfield 1, runway 1: surface: \"gras\" is none of asphalt, "
       "concrete, grass, dirt; did you mean \"grass\"?"},
      {start + "[[airfield]]\nname = \"F\"\nelevation = 5\n",
       "test.toml:5:1: error: airfield 1: missing runway (at least one [[airfield.runway]])"},
      {"[[land]]\nelevation = \"12000 m\"\noutline = [{ lat = \"N1\", lon = \"E1\" }, { lat = "
       "\"N1.1\", lon = \"E1\" }]\n",
       "test.toml:2:13: error: land area 1: elevation: 12000 m is no ground's elevation (-500 to "
       "9000 m)"},
      {"[[land]]\nelevation = 5\noutline = [{ lat = \"N1\", lon = \"E1\" }, { lat = \"N1.1\", lon "
       "= \"E1\" }]\n",
       "test.toml:3:11: error: land area 1: outline: 2 corners; an area needs at least three"},
      {start + "[[landmark]]\nname = \"L\"\nat = \"Nowhere\"\nheight = \"20 m\"\n",
       "test.toml:7:6: error: no place is named \"Nowhere\" in [places]"},
      {start + "runways = 3\n", "test.toml:5:1: error: unknown key \"runways\""},
      {"title = \"T\"\n", "test.toml:1:1: error: the island has no [[land]]"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Island island;
    std::vector<Diagnostic> problems;
    EXPECT_FALSE(ReadIslandSource(c.text, "test.toml", &island, &problems));
    std::string told;
    for (const Diagnostic& d : problems) told += FormatDiagnostic(d) + "\n";
    EXPECT_NE(told.find(c.message), std::string::npos) << told;
  }
}

}  // namespace
