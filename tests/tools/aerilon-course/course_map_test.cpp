#include "tools/aerilon-course/map/course_map.h"
#include "examples/compiled_sample_course.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "rally/race/start_positions.h"
#include "tests/support/course_test_support.h"
#include "tools/aerilon-course/fly/observed_flight.h"
#include "tools/aerilon-course/map/map_area_index.h"
#include "tools/aerilon-course/map/map_labels.h"
#include "tools/aerilon-course/map/map_legend.h"
#include "tools/aerilon-course/map/map_objects.h"
#include "tools/aerilon-course/map/map_view.h"

// Cairo's text keeps fontconfig's caches for the life of the process;
// under LeakSanitizer (the native-asan preset) they are not this code's
// leaks.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace {

using course_test::Bytes;

// A picture read back: its size and how many pixels have each colour.
struct Picture {
  int width = 0, height = 0;
  std::map<uint32_t, int> colours;  // 0xRRGGBB
  int Count(uint32_t colour) const {
    auto found = colours.find(colour);
    return found == colours.end() ? 0 : found->second;
  }
};

Picture ReadPicture(const std::string& path) {
  Picture picture;
  cairo_surface_t* surface = cairo_image_surface_create_from_png(path.c_str());
  EXPECT_EQ(cairo_surface_status(surface), CAIRO_STATUS_SUCCESS) << path;
  if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
    picture.width = cairo_image_surface_get_width(surface);
    picture.height = cairo_image_surface_get_height(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < picture.height; ++y) {
      const auto* row = reinterpret_cast<const uint32_t*>(data + y * stride);
      for (int x = 0; x < picture.width; ++x) ++picture.colours[row[x] & 0xFFFFFF];
    }
  }
  cairo_surface_destroy(surface);
  return picture;
}

CourseDocument SampleDocument() {
  CourseDocument document;
  document.file = "Rally.DAT";
  document.course = SampleCourse();
  return document;
}

// A few positions along the first leg, as a flight script would set them.
std::vector<TrackPoint> ShortFlight() {
  const StartPosition* base = StartPositionForSlot(kFirstStartPositionSlot);
  int32_t lat = static_cast<int32_t>(base->latitude), lon = static_cast<int32_t>(base->longitude);
  return {{lat, lon, 44}, {lat, lon - 300000, 300}, {lat + 4000, lon - 380000, 400}};
}

class CourseMapTest : public ::testing::Test {
 protected:
  Picture Draw(const std::vector<TrackPoint>& flight, MapSize size = MapSize{}) {
    std::string error;
    EXPECT_TRUE(DrawCourseMap(SampleDocument(), flight, png_, &error, size)) << error;
    return ReadPicture(png_);
  }

  TempSimFolder folder_;
  std::string png_ = folder_.Path("map.png");
};

TEST_F(CourseMapTest, DrawsEveryLegAtTheAskedSize) {
  for (MapSize size : {MapSize{}, MapSize{900, 500}}) {
    Picture picture = Draw({}, size);
    EXPECT_EQ(picture.width, size.width);
    EXPECT_EQ(picture.height, size.height);
    int background =
        std::max_element(picture.colours.begin(), picture.colours.end(), [](auto& a, auto& b) {
          return a.second < b.second;
        })->second;
    EXPECT_GT(picture.width * picture.height - background, picture.width * picture.height / 50)
        << "something is drawn besides the background";
    EXPECT_GT(picture.colours.size(), 100u);
    for (size_t leg = 0; leg < SampleCourse().legs.size(); ++leg) {
      // Far more than the legend's swatch (130 pixels): the route and the objects.
      EXPECT_GT(picture.Count(LegColour(leg)), 500) << "leg " << leg + 1;
    }
    EXPECT_GT(picture.Count(kBonusObjectColour), 200);
    EXPECT_EQ(picture.Count(kFlightTrackColour), 0) << "no flight, no track";
  }
}

// The ground goes under the course: sea, land tinted by its height, runways.
TEST_F(CourseMapTest, DrawsTheGroundUnderTheCourse) {
  const StartPosition* base = StartPositionForSlot(kFirstStartPositionSlot);
  int32_t lat = static_cast<int32_t>(base->latitude), lon = static_cast<int32_t>(base->longitude);
  int32_t km = 1000, km_lon = 1000 * 120;  // about a kilometre either way
  MapGround ground;
  ground.land.push_back({{{lat - 5 * km, lon - 8 * km_lon},
                          {lat + 25 * km, lon - 8 * km_lon},
                          {lat + 25 * km, lon + 30 * km_lon},
                          {lat - 5 * km, lon + 30 * km_lon}},
                         0});
  ground.runways.push_back({{{lat - 100, lon - km_lon},
                             {lat + 100, lon - km_lon},
                             {lat + 100, lon + km_lon},
                             {lat - 100, lon + km_lon}}});
  std::string error;
  ASSERT_TRUE(DrawCourseMap(SampleDocument(), {}, png_, &error, MapSize{}, {}, &ground)) << error;
  Picture picture = ReadPicture(png_);
  EXPECT_GT(picture.Count(0xDCEED1), 100000) << "low land";
  EXPECT_GT(picture.Count(0xDCEBF8), 10000) << "the sea around it";
  EXPECT_GT(picture.Count(0x595961), 40) << "the runway, where the course leaves it seen";
  EXPECT_EQ(Draw({}).Count(0xDCEED1), 0) << "no scenery, no land";
}

TEST_F(CourseMapTest, DrawsTheFlightOverTheCourse) {
  EXPECT_GT(Draw(ShortFlight()).Count(kFlightTrackColour), 300) << "more than the legend's swatch";
}

TEST(CourseMap, LegsHaveDistinctColours) {
  std::set<uint32_t> colours{kFlightTrackColour, kBonusObjectColour};
  for (size_t leg = 0; leg < 20; ++leg) EXPECT_TRUE(colours.insert(LegColour(leg)).second) << leg;
}

TEST_F(CourseMapTest, RefusesAnOddSizeAndAnUnwritablePath) {
  std::string error;
  EXPECT_FALSE(DrawCourseMap(SampleDocument(), {}, png_, &error, MapSize{199, 1200}));
  EXPECT_EQ(error.rfind(png_ + ": error: ", 0), 0u) << error;
  // Missing folders are made; a file where a folder should be cannot be one.
  std::string under_a_file = png_ + "/map.png";
  ASSERT_TRUE(DrawCourseMap(SampleDocument(), {}, png_, &error)) << error;
  EXPECT_FALSE(DrawCourseMap(SampleDocument(), {}, under_a_file, &error));
  EXPECT_EQ(error.rfind(under_a_file + ": error: cannot be written", 0), 0u) << error;
}

// Near 180 degrees the units wrap from 2^31 - 1 to -2^31: two points 2 km
// apart across it must stay 2 km apart on the map, not a world apart.
TEST(MapView, KeepsACourseAcrossTheDateLineInOnePiece) {
  int32_t east = INT32_MAX - 4000 * 120, west = INT32_MIN + 4000 * 120;  // about 4 km each side
  MapView view =
      MapView::Fit({{2931187, east}, {2931187, west}}, 1000, 800, Rect{50, 50, 950, 750}, 1000);
  Pixel e = view.At(2931187, east), w = view.At(2931187, west);
  EXPECT_NEAR(e.x, 50, 1);
  EXPECT_NEAR(w.x, 950, 1);
  EXPECT_NEAR(e.y, 400, 1);
  EXPECT_NEAR(view.LongitudeAtX(500), 180.0, 1e-6);
  EXPECT_GT(view.LongitudeAtX(950), 180.0) << "unwrapped past 180 degrees";
}

// The route runs through a box's middle, also for boxes whose sum of
// bounds overflows 32 bits and for one across 180 degrees.
TEST(MapView, PutsABoxMiddleHalfwayTheShortWay) {
  const struct {
    course_model::Box box;
    int32_t lat, lon;
  } cases[] = {
      {{-300, 100, 1000, 3000}, -100, 2000},
      {{2931187, 2931787, 0x79000000, 0x7A000000}, 2931487, 0x79800000},
      {{INT32_MAX - 99, INT32_MAX - 1, INT32_MAX - 99, INT32_MIN + 100}, INT32_MAX - 50, INT32_MIN},
      {{0, 0, INT32_MIN + 10, INT32_MIN + 20}, 0, INT32_MIN + 15},
  };
  for (const auto& c : cases) {
    GeoPoint middle = BoxMiddle(c.box);
    EXPECT_EQ(middle.lat, c.lat) << c.box.lat_min;
    EXPECT_EQ(middle.lon, c.lon) << c.box.lon_min;
  }
}

// A picture to draw on in memory.
struct Canvas {
  explicit Canvas(int width, int height)
      : surface(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)),
        cr(cairo_create(surface)) {}
  ~Canvas() {
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
  }
  cairo_surface_t* surface;
  cairo_t* cr;
};

TEST(MapLegend, ShowsTheTitlesInTheCodePageWithControlsEscaped) {
  Canvas canvas(400, 300);
  course_model::Course course = SampleCourse();
  course.first_title = "L\x92isola \x80 \x9D";
  course.second_title = "\x1B]0;owned\x07";
  MapLegend legend(canvas.cr, course, false);
  EXPECT_EQ(legend.Title(), "L’isola € \\x9D");
  EXPECT_EQ(legend.Subtitle(), "\\x1B]0;owned\\x07");
}

// The index answers as comparing with every area would, for every place
// in the picture: areas of all sizes, some over whole cells, some beyond
// the picture, places touching areas without overlapping them.
TEST(AreaIndex, AnswersAsComparingWithEveryArea) {
  uint32_t state = 7;
  auto next = [&state](double range) {
    state = state * 214013u + 2531011u;
    return static_cast<double>((state >> 16) & 0x7FFF) / 32767.0 * range;
  };
  auto grid = [&next](double most) { return 16 * std::floor(next(most / 16)); };
  AreaIndex index(1000, 700);
  std::vector<Rect> areas;
  for (int i = 0; i < 300; ++i) {
    // Some on a grid of 16 pixels (cells are 64 wide), so that edges meet.
    auto place = [&](double most) { return i % 3 == 0 ? grid(most) : next(most); };
    double x = place(1200) - 96, y = place(900) - 96, size = i % 30 == 0 ? 400 : 60;
    areas.push_back(Rect{x, y, x + place(size), y + place(size)});
    index.Add(areas.back());
  }
  for (int i = 0; i < 3000; ++i) {
    // Half the places start where an area ends, half on the grid.
    const Rect& near = areas[static_cast<size_t>(i) % areas.size()];
    double x = std::clamp(i % 2 ? grid(1000) : near.x1, 0.0, 990.0);
    double y = std::clamp(i % 2 ? grid(700) : near.y0, 0.0, 690.0);
    Rect place{x, y, std::min(x + 16 + grid(150), 1000.0), std::min(y + 16 + grid(40), 700.0)};
    bool any =
        std::any_of(areas.begin(), areas.end(), [&](const Rect& a) { return a.Overlaps(place); });
    EXPECT_EQ(index.AnyOverlaps(place), any) << place.x0 << " " << place.y0;
  }
}

// Three thousand objects on one spot: each label is tried in every place
// around it, yet the work grows with the labels, and beyond what the
// picture holds they are left out.
TEST(MapLabels, PlacesACrowdInBoundedWork) {
  Canvas canvas(400, 300);
  MapLabels labels(400, 300);
  const size_t count = 3000;
  for (size_t i = 0; i < count; ++i) {
    labels.Add(Rect{195, 145, 205, 155}, "bonus " + std::to_string(i + 1), "200 m", Rgb{0, 0, 0});
  }
  labels.Draw(canvas.cr);
  EXPECT_GT(labels.LeftOut(), count * 9 / 10);
  EXPECT_LT(labels.Comparisons(), count * 100);
}

// A long line drawn in pieces covers what it covers drawn as one path: no
// stretch or join is missing where two pieces meet (their overlap only
// darkens the line's soft edge a shade).
TEST(MapPaint, StrokesALongLineInPiecesAsOnePath) {
  // Rows of zig-zags, a sharp join at every point, the line never over itself.
  std::vector<Pixel> line;
  for (int i = 0; i < 2600; ++i) {
    int row = i / 130, step = row % 2 ? 129 - i % 130 : i % 130;
    line.push_back({5.0 + 3 * step, 10.0 + 14 * row + 4 * (i % 2)});
  }
  Canvas pieces(400, 300), whole(400, 300);
  for (Canvas* c : {&pieces, &whole}) {
    cairo_set_source_rgb(c->cr, 1, 1, 1);
    cairo_paint(c->cr);
    cairo_set_source_rgb(c->cr, 0, 0, 0);
    cairo_set_line_width(c->cr, 2);
  }
  StrokeLine(pieces.cr, line);
  for (const Pixel& p : line) cairo_line_to(whole.cr, p.x, p.y);
  cairo_stroke(whole.cr);
  cairo_surface_flush(pieces.surface);
  cairo_surface_flush(whole.surface);
  const unsigned char* a = cairo_image_surface_get_data(pieces.surface);
  const unsigned char* b = cairo_image_surface_get_data(whole.surface);
  int far_apart = 0;
  for (int i = 0; i < cairo_image_surface_get_stride(whole.surface) * 300; ++i) {
    far_apart += std::abs(a[i] - b[i]) > 100;
  }
  EXPECT_EQ(far_apart, 0);
}

class FlightTrackTest : public ::testing::Test {
 protected:
  std::string Write(const std::string& text) {
    folder_.WriteBytes("flight.jsonl", Bytes(text.begin(), text.end()));
    return folder_.Path("flight.jsonl");
  }
  TempSimFolder folder_;
};

// The map's track is where the module saw the aircraft after each tick,
// with the leg running there; a menu position moves it to its airfield.
TEST_F(FlightTrackTest, TheObservedTrackIsWhereTheModuleSawTheAircraft) {
  std::string path = Write(
      "{\"tick\":1,\"state\":{\"lat\":100,\"speed\":0}}\n"
      "{\"tick\":2,\"state\":{\"lon\":\"0x200\",\"alt\":50}}\n"
      "{\"tick\":3,\"state\":{\"speed\":12800}}\n"  // not a move
      "{\"tick\":4,\"state\":{\"lat\":-7}}\n"       // longitude holds
      "{\"tick\":5,\"command\":\"position:2\"}\n"
      "{\"tick\":7,\"end\":true}\n");
  FlightScript script;
  std::string error;
  ASSERT_TRUE(ReadFlightScriptFile(path, {}, &script, &error)) << error;
  CourseDocument document;
  document.course = SampleCourse();
  FlightOutcome outcome = ObserveFlight(document, script);
  const StartPosition* kestrins = StartPositionForSlot(kFirstStartPositionSlot + 1);
  std::vector<std::vector<int32_t>> expected{
      {100, 0, 0},
      {100, 0x200, 50},
      {-7, 0x200, 50},
      {static_cast<int32_t>(kestrins->latitude), static_cast<int32_t>(kestrins->longitude), 44}};
  ASSERT_EQ(outcome.track.size(), expected.size());
  for (size_t i = 0; i < outcome.track.size(); ++i) {
    const TrackPoint& p = outcome.track[i];
    EXPECT_EQ((std::vector<int32_t>{p.lat, p.lon, p.alt}), expected[i]) << i;
    EXPECT_EQ(p.leg, -1) << "no leg ran";
  }
  EXPECT_TRUE(outcome.verdicts.empty());
}

TEST_F(FlightTrackTest, NamesTheFileAndTheLineOfAFault) {
  std::string path =
      Write("{\"tick\":1,\"state\":{\"lat\":1}}\n\n{\"tick\":2,\"state\":{\"lat\":x}}\n");
  FlightScript script;
  std::string error;
  EXPECT_FALSE(ReadFlightScriptFile(path, {}, &script, &error));
  EXPECT_EQ(error.rfind(path + ":3: error: ", 0), 0u) << error;
  EXPECT_FALSE(ReadFlightScriptFile(folder_.Path("missing.jsonl"), {}, &script, &error));
  EXPECT_EQ(error.rfind(folder_.Path("missing.jsonl") + ": error: cannot be opened", 0), 0u)
      << error;
}

}  // namespace
