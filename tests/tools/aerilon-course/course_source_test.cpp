#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "course_model/course.h"
#include "tools/aerilon-course/source/designer_values.h"
#include "tools/aerilon-course/source/source_reader.h"
#include "tools/aerilon-course/source/source_scan.h"

namespace {

// A one-leg course with a place, a waypoint and a landing; `extra` is
// appended after the leg's last route record, `top` before the places,
// `places` after the place Home (line 4).
std::string Source(const std::string& extra = "", const std::string& top = "",
                   const std::string& places = "") {
  return "title = \"Prova\"\nsubtitle = \"Uno\"\n" + top +
         "[places]\n"
         "Home = { lat = \"N26 22.564\", lon = \"E170 32.276\", elevation = \"44 m\" }\n" +
         places +
         "[[leg]]\n"
         "[leg.start]\nat = \"Home\"\nsize = \"600 m\"\naltitude = 1000\n"
         "altitude_tolerance = 300\nspeed_min = 60\nspeed_max = 220\nheading = 270\n"
         "[[leg.route]]\nkind = \"landing\"\nat = \"Home\"\nsize = \"800 m\"\nheading = 0\n" +
         extra + "[leg.finish]\nbase_points = 500\ntime_allowance = 900\ntime_factor = 1\n";
}

std::vector<Diagnostic> Errors(const std::string& text, CourseDocument* document = nullptr) {
  CourseDocument scratch;
  std::vector<Diagnostic> diagnostics;
  bool read = ReadCourseSource(text, "c.toml", document ? document : &scratch, &diagnostics);
  EXPECT_EQ(read, diagnostics.empty());
  return diagnostics;
}

// Everything the reader tells, one line each.
std::string Told(const std::string& text, CourseDocument* document = nullptr) {
  std::string all;
  for (const Diagnostic& d : Errors(text, document)) all += FormatDiagnostic(d) + "\n";
  return all;
}

TEST(CourseSource, TheBuilderSourceReadsInTheFilesUnits) {
  CourseDocument doc;
  ASSERT_TRUE(Errors(Source(), &doc).empty());
  const course_model::Leg& leg = doc.course.legs.at(0);
  EXPECT_EQ(leg.start.alt_centre, 305) << "1000 ft";
  EXPECT_EQ(leg.start.speed_min, 60 * 128);
  EXPECT_EQ(leg.start.heading, 49152);
  EXPECT_EQ(leg.start.box.lat_max - leg.start.box.lat_min, 2 * 300) << "a latitude unit is ~1 m";
  auto landing = std::get<course_model::Landing>(leg.records.at(0));
  EXPECT_EQ(landing.alt, 44) << "the ground of the place the box is centred on";
  EXPECT_EQ(doc.legs.at(0).records.at(0).line, 14);
}

// One case of each kind of mistake, with where it is reported.
TEST(CourseSource, EveryErrorNamesItsLineAndColumnAndAllAreReported) {
  const struct {
    std::string extra, top;
    int line, column;
    const char* message;
  } kCases[] = {
      {"", "leg_cont = 3\n", 3, 1, "unknown key \"leg_cont\" in the course's top level"},
      {"", "title = 'x'\n", 3, 9, "\"title\" is given twice (first at line 1)"},
      {"[[leg.route]]\nkind = \"gat\"\n", "", 20, 8, "kind: \"gat\" is not one of message"},
      {"[[leg.route]]\nkind = \"message\"\nseconds = 1\ntext = \"\xE2\x86\x92\"\n", "", 22, 8,
       "the character \"\xE2\x86\x92\" (U+2192) has no Windows Latin-1 form"},
      {"[[leg.route]]\nkind = \"quiz_timer\"\n", "", 19, 1, "missing delay"},
      {"[[leg.route]]\nkind = \"waypoint\"\nat = \"Nowhere\"\nradius = 5\naltitude = 1\n"
       "altitude_tolerance = 1\nheading = 1\n",
       "", 21, 6, "no place is named \"Nowhere\""},
      {"[[leg.route]]\nkind = \"quiz_timer\"\ndelay = \"5 parsec\"\n", "", 21, 9,
       "delay: \"5 parsec\" is not a time in seconds"},
      {"[[leg.route]]\nkind = \"collectible\"\nslot = 1.5\npoints = 1\n", "", 21, 8,
       "slot: expected a whole number"},
      {"[[leg.route]]\nkind = \"track_start\"\nat = \"Home\"\nradial = 361\ntolerance = 5\n"
       "weight = 1\nnear_zone = \"2 NM\"\n",
       "", 22, 10, "radial: 361 is not a radial in degrees from 0 to 360"},
      {"", "leg_count = 21\n", 3, 13, "leg_count: 21 is not a whole number from 0 to 20"},
      {"[[leg.route]]\nkind = \"quiz_timer\"\ndelay = { raw = 4294967296 }\n", "", 21, 17,
       "does not fit the course file's 32 bits"},
  };
  for (const auto& c : kCases) {
    std::vector<Diagnostic> d = Errors(Source(c.extra, c.top));
    ASSERT_FALSE(d.empty()) << c.message;
    std::string all;
    for (const Diagnostic& e : d) all += FormatDiagnostic(e) + "\n";
    EXPECT_EQ(d[0].line, c.line) << all;
    EXPECT_EQ(d[0].column, c.column) << all;
    EXPECT_NE(d[0].message.find(c.message), std::string::npos) << all;
  }
  // The near zone of the track case is wrong too: both are told.
  EXPECT_EQ(Errors(Source(kCases[8].extra)).size(), 2u);
}

TEST(CourseSource, ConvertsAtTheEdgesOfEachUnit) {
  auto number = [](double n) {
    DesignerValue v;
    v.is_number = true;
    v.number = n;
    return v;
  };
  auto text = [](const char* t) {
    DesignerValue v;
    v.text = t;
    return v;
  };
  const struct {
    Dimension dimension;
    DesignerValue value;
    std::optional<int32_t> units;
  } kCases[] = {
      {Dimension::kLatitude, text("N90"), 10001750},
      {Dimension::kLatitude, text("S26 22.5"), -2931068},
      {Dimension::kLatitude, text("26 22 30 S"), -2931068},
      {Dimension::kLatitude, number(-26.375), -2931068},
      {Dimension::kLatitude, text("N90 00.1"), std::nullopt},
      {Dimension::kLatitude, text("N26 60"), std::nullopt},
      {Dimension::kLongitude, text("E180"), INT32_MIN},  // the date line wraps
      {Dimension::kLongitude, text("W180"), INT32_MIN},
      {Dimension::kLongitude, text("W179 59.999"), -2147483449},  // 199 units short of it
      {Dimension::kLongitude, text("E179 59.999"), 2147483449},
      {Dimension::kLongitude, number(-0.0), 0},
      {Dimension::kLongitude, text("E180 00.001"), std::nullopt},
      {Dimension::kHeading, number(360), 0},
      {Dimension::kHeading, number(359.999), 0},  // rounds up to a full circle: north
      {Dimension::kHeading, number(359.99), 65534},
      {Dimension::kHeading, text("any"), 65536},
      {Dimension::kHeading, number(-1), std::nullopt},
      {Dimension::kRadial, text("any"), std::nullopt},
      {Dimension::kAngle, number(40), 7282},
      {Dimension::kAngle, number(180), 32768},
      {Dimension::kAltitude, number(1000), 305},
      {Dimension::kAltitude, text("-10 ft"), -3},
      {Dimension::kAltitude, text("300 m"), 300},
      {Dimension::kDistance, text("2.5 NM"), 4630},
      {Dimension::kDistance, text("4 km"), 4000},
      {Dimension::kSpeed, number(60.004), 7681},
      {Dimension::kSpeed, text("-1 kt"), std::nullopt},
      {Dimension::kSpeed, text("60 kn"), 7680},  // as check writes speeds
      {Dimension::kSeconds, text("15 min"), 900},
      {Dimension::kSeconds, number(1e10), std::nullopt},
  };
  for (const auto& c : kCases) {
    std::string error;
    EXPECT_EQ(FileUnits(c.dimension, c.value, &error), c.units)
        << DimensionName(c.dimension) << " " << c.value.text << c.value.number;
  }
}

TEST(CourseSource, NamedPlacesMayBeRelativeInAnyOrderButNotToThemselves) {
  CourseDocument doc;
  std::string places =
      "[places]\nFix = { at = \"Home\", distance = \"1 NM\", bearing = 90 }\n"
      "Home = { lat = \"N0 00\", lon = \"E0 00\" }\nLoop = { at = \"Loop\" }\n";
  std::vector<Diagnostic> d = Errors("title = \"t\"\nsubtitle = \"s\"\n" + places, &doc);
  ASSERT_EQ(d.size(), 1u);
  EXPECT_NE(d[0].message.find("\"Loop\" is given relative to itself"), std::string::npos);
  ASSERT_EQ(doc.places.size(), 2u);
  EXPECT_EQ(doc.places[0].name, "Fix");
  EXPECT_EQ(doc.places[0].lat, 0);
  EXPECT_EQ(doc.places[0].lon, 198707) << "1852 m east on the equator, a little under 1 arc-minute";
}

}  // namespace

namespace {

// The other ways of writing objects, each read back in the file's units.
TEST(CourseSource, ReadsEveryFormOfBoxesBonusObjectsTextsAndEntries) {
  CourseDocument doc;
  std::string extra =
      "[[leg.route]]\nkind = \"gate\"\nlat_min = \"N26 22\"\nlat_max = { raw = 2930000 }\n"
      "lon_min = -170\nlon_max = \"W170\"\naltitude = \"1 m\"\naltitude_tolerance = 0\n"
      "speed_min = \"0 kt\"\nspeed_max = { raw = -1 }\nheading = \"any\"\nwarning = \"\"\n"
      "[[leg.route]]\nkind = \"track_start\"\nat = \"Home\"\nradial = 90\ntolerance = 0\n"
      "weight = -3\nnear_zone = { raw = 9 }\n";
  std::string top =
      "entry_order = [\"bonus 1\", \"ignored\", \"leg 1\"]\nleg_count = 3\n"
      "[[bonus]]\nat = \"Home\"\naltitude = 0\npercent = true\navailable = [0, 25]\n"
      "counter = 19\nmax_takes = 1\nvalue = -5\n"
      "outer = { half_size = [\"100 m\", { raw = 7 }], half_height = 10, refuse = [\"moving\"] }\n"
      "middle = { half_size = 0, half_height = \"0 m\", refuse = { raw = 2 } }\n"
      "inner = { half_size = 0, half_height = 0, refuse = [\"airborne\", \"on_ground\"] }\n";
  ASSERT_TRUE(Errors(Source(extra, top), &doc).empty());
  const course_model::Course& c = doc.course;
  auto gate = std::get<course_model::Gate>(c.legs.at(0).records.at(1));
  EXPECT_EQ(gate.box.lat_min, 2930142);
  EXPECT_EQ(gate.box.lat_max, 2930000);
  EXPECT_EQ(gate.box.lon_min, gate.box.lon_max) << "-170 degrees is W170";
  EXPECT_EQ(gate.speed_max, -1);
  EXPECT_EQ(gate.heading, 65536);
  EXPECT_EQ(gate.warning_text, course_model::Text::Empty()) << "\"\" is an empty text";
  EXPECT_TRUE(gate.warning_voice.IsNone()) << "left out is none";
  auto track = std::get<course_model::TrackStart>(c.legs.at(0).records.at(2));
  EXPECT_EQ(track.radial, 16384);
  EXPECT_EQ(track.weight, -3);
  EXPECT_EQ(track.near_zone, 9);
  const course_model::BonusObject& b = c.bonus_objects.at(0);
  EXPECT_EQ(b.flags, 16 | 1 << 6 | 1 << 31);
  EXPECT_EQ(b.outer.half_lat, 100);
  EXPECT_EQ(b.outer.half_lon, 7);
  EXPECT_EQ(b.outer.half_alt, 3) << "10 ft";
  EXPECT_EQ(b.outer.conditions, 1);
  EXPECT_EQ(b.middle.conditions, 2);
  EXPECT_EQ(b.inner.conditions, 4 | 8);
  using Slot = course_model::EntrySlot;
  EXPECT_EQ(c.entry_order,
            (std::vector<Slot>{{Slot::kBonusObject, 0}, {Slot::kIgnored, 0}, {Slot::kLeg, 0}}));
  EXPECT_EQ(c.leg_count, 3);
}

// Mistakes in those forms, each told once.
TEST(CourseSource, RefusesMixedFormsOfOneObject) {
  const struct {
    std::string source;
    const char* message;
  } kCases[] = {
      {Source("", "[[bonus]]\nat = \"Home\"\nlat = 1\n"),
       "give either at = \"PLACE\" or lat and lon"},
      {Source("", "[[bonus]]\nat = \"Home\"\nnorth = 1\ndistance = 1\nbearing = 1\n"),
       "north and east, or distance and bearing, not both"},
      {Source("", "[[bonus]]\nflags = { raw = 1 }\npercent = true\n"),
       "either flags = { raw = N }"},
      {Source("", "[[bonus]]\navailable = [26]\n"), "a condition is a whole number from 0 to 25"},
      {Source("", "[[bonus]]\nouter = { refuse = [\"fast\"] }\n"),
       "\"moving\", \"airborne\" or \"on_ground\""},
      {Source("", "entry_order = [\"leg 2\"]\n"), "\"leg 2\" does not exist"},
      {"title = \"" + std::string(48, 'x') + "\"\nsubtitle = \"s\"\n", "48 bytes long; at most 47"},
  };
  for (const auto& c : kCases) {
    std::string all;
    for (const Diagnostic& d : Errors(c.source)) all += FormatDiagnostic(d) + "\n";
    EXPECT_NE(all.find(c.message), std::string::npos) << c.message << "\n" << all;
  }
}

}  // namespace

namespace {

// The TOML library's refusals, each in a designer's words at its place.
TEST(CourseSource, SyntaxMistakesAreToldInADesignersWords) {
  const struct {
    std::string source, told;
  } kCases[] = {
      {"title = \"Prova\nsubtitle = \"x\"\n",
       "c.toml:1:9: error: this text has no closing \": a text ends on the line it starts on "
       "(\"\"\" opens a text of several lines)\n"},
      {"x = 1\ntitle = '''Prova\n\n",
       "c.toml:2:9: error: this text has no closing ''': it runs to the end of the file\n"},
      {"title \"Prova\"\n",
       "c.toml:1:7: error: expected \"=\" after the key \"title\" (a line is KEY = VALUE)\n"},
      {"title =   # none\n", "c.toml:1:11: error: \"title\": the value after \"=\" is missing\n"},
      {"title = Prova\n",
       "c.toml:1:9: error: \"title\": Prova is not a value: a text is written in double quotes "
       "(\"Prova\"); numbers, true and false, [lists] and { tables } without\n"},
      {"[[leg]]\n[leg.start]\nsize = 600 m\n",
       "c.toml:3:12: error: \"size\": 600 m is not one value: a value with its unit is a text in "
       "double quotes (\"600 m\")\n"},
      {Source("", "", "\"Riva\" = { at = \"Home\" }\n\"Riva\" = { at = \"Home\" }\n"),
       "c.toml:6:10: error: \"Riva\" is given twice in [places] (first at line 5)\n"},
      {"[[leg]]\n[leg.finish]\n[[leg]]\n[leg.finish]\n[leg.finish]\n",
       "c.toml:5:2: error: [leg.finish] is given twice (first at line 4)\n"},
      {"[[legs]]\n[leg.start]\n[[leg]]\n",
       "c.toml:1:3: error: unknown table [[legs]]; the course's tables are [places], [[leg]], "
       "[[bonus]] and [[question]]; did you mean [[leg]]?\n"
       "c.toml:3:3: error: [[leg]]: \"leg\" is already a table (line 2), and cannot also be a list "
       "of tables\n"},
      {"[[leg]]\n[[leg.route]]\nvoice = \"ADV\\Start\"\n",
       "c.toml:3:14: error: a backslash in a text in double quotes starts one of \\\" \\\\ \\n \\t "
       "\\uXXXX; write a voice prompt's path in single quotes, 'ADV\\RALLY\\Start'\n"},
      {Source("[[leg.route]]\nkind = \"gat\"\n"),
       "c.toml:20:8: error: leg 1, record 2: kind: \"gat\" is not one of message, gate, waypoint, "
       "landing, track_start, track_end, collectible, quiz_timer; did you mean \"gate\"?\n"},
      {Source("[[leg.route]]\nkind = \"quiz_timer\"\ndelay = 5\ndleay = 5\n"),
       "c.toml:22:1: error: unknown key \"dleay\" in leg 1, record 2; did you mean \"delay\"? "
       "(known: kind, delay)\n"},
  };
  for (const auto& c : kCases) EXPECT_EQ(Told(c.source), c.told) << c.source;
}

// What would take the TOML library down (it nests a table for every part
// of a key and every bracket, by recursion) is refused before it reads
// the source.
TEST(CourseSource, DeepKeysAndHugeSourcesAreRefusedBeforeTheLibraryReadsThem) {
  std::string deep = "a";
  for (int i = 0; i < 40000; ++i) deep += ".a";
  const std::string kDeep =
      " parts deep, with its table's and the brackets around it; a course source allows at most 64";
  const struct {
    std::string source, told;
  } kCases[] = {
      {"title = 'x'\n" + deep + " = 1\n", "c.toml:2:1: error: this key is 40001" + kDeep + "\n"},
      {"[" + deep + "]\n", "c.toml:1:2: error: this key is 40001" + kDeep + "\n"},
      {"[[leg]]\nx = " + std::string(100000, '[') + "\n",
       "c.toml:2:66: error: the lists and tables nest 65 deep here; a course source allows at most "
       "64\n"},
      {std::string(kMaxSourceBytes, '\n') + "#",
       "c.toml:67108865:1: error: the source is 67108865 bytes long, and passes here the 64 MiB "
       "(67108864 bytes) a course source may have\n"},
  };
  for (const auto& c : kCases) EXPECT_EQ(Told(c.source), c.told) << c.source.substr(0, 40);
}

// A chain of places of any length is followed from either end, and a
// loop of them told once.
TEST(CourseSource, LongPlaceChainsAreFollowedAndALoopIsToldOnce) {
  std::string chain = "P0 = { lat = 0, lon = 0 }\n", backwards, ring;
  for (int i = 1; i <= 7000; ++i) {
    std::string me = "\"P" + std::to_string(i) + "\"",
                before = "\"P" + std::to_string(i - 1) + "\"";
    chain += me + " = { at = " + before + ", north = 10 }\n";
    backwards += before + " = { at = " + me + ", north = 10 }\n";
    ring += me + " = { at = " + (i == 1 ? std::string("\"P7000\"") : before) + " }\n";
  }
  backwards += "P7000 = { lat = 0, lon = 0 }\n";
  EXPECT_EQ(Told(Source("", "", ring)),
            "c.toml:6:15: error: place \"P1\" is given relative to itself\n");
  // 10 m north is 10 latitude units, 7000 times over.
  for (const auto& [places, end] : {std::pair{chain, "P7000"}, std::pair{backwards, "P0"}}) {
    CourseDocument doc;
    ASSERT_EQ(Told(Source("", "", places), &doc), "");
    std::string last = end;
    auto found = std::find_if(doc.places.begin(), doc.places.end(),
                              [&](const NamedPlace& p) { return p.name == last; });
    ASSERT_NE(found, doc.places.end());
    EXPECT_EQ(found->lat, 7000 * 10) << last;
  }
}

// Numbers that are none (TOML's nan and inf) and positions beyond a pole
// or half way round the earth are refused at their value.
TEST(CourseSource, EveryValueAndEveryPositionWorkedOutIsRangeChecked) {
  const std::string gate =
      "[[leg.route]]\nkind = \"gate\"\nat = \"Home\"\naltitude = 0\naltitude_tolerance = 0\n"
      "speed_min = 0\nspeed_max = 0\nheading = 0\nsize = ";
  const std::string kNotDistance =
      "expected a distance in metres, or a text such as \"500 m\", \"4 km\" or \"2.5 NM\"";
  const struct {
    std::string places, extra, spot, message;
  } kCases[] = {
      {"A = { lat = nan, lon = 0 }\n", "", "5:13",
       "place \"A\": lat: nan is not a latitude such as \"N26 22.5\" or decimal degrees "
       "within 90"},
      {"A = { lat = 0, lon = -inf }\n", "", "5:22",
       "place \"A\": lon: -inf is not a longitude such as \"E170 32.4\" or decimal degrees "
       "within 180"},
      {"A = { lat = \"N26 60\", lon = 0 }\n", "", "5:13",
       "place \"A\": lat: \"N26 60\" is not a latitude: minutes must be under 60"},
      {"A = { lat = 0, lon = \"E10 5 60.0\" }\n", "", "5:22",
       "place \"A\": lon: \"E10 5 60.0\" is not a longitude: seconds must be under 60"},
      {"A = { at = \"Home\", north = 1e308 }\n", "", "5:28",
       "place \"A\": north: 1e+308 m is more than half way round the earth (20015 km)"},
      {"A = { at = \"Home\", east = inf }\n", "", "5:27", "place \"A\": east: " + kNotDistance},
      {"A = { at = \"Home\", distance = 3e7, bearing = 0 }\n", "", "5:31",
       "place \"A\": distance: 3e+07 m is more than half way round the earth (20015 km)"},
      {"A = { at = \"Home\", distance = 1, bearing = nan }\n", "", "5:44",
       "place \"A\": bearing: expected a bearing in degrees from 0 to 360"},
      {"A = { at = \"Home\", north = \"8000 km\" }\n", "", "5:28",
       "place \"A\": north: the point would lie beyond the pole"},
      {"", gate + "\"20000 km\"\n", "27:8",
       "leg 1, record 2: size: the box would reach beyond the pole; its edges lie within 90 "
       "degrees"},
      {"", gate + "[4.295e9, 100]\n",  // half fits 32 bits, the north edge would not
       "27:8",
       "leg 1, record 2: size: the box would reach beyond the pole; its edges lie within 90 "
       "degrees"},
      {"", gate + "nan\n", "27:8", "leg 1, record 2: size: " + kNotDistance},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(Told(Source(c.extra, "", c.places)),
              "c.toml:" + c.spot + ": error: " + c.message + "\n")
        << c.places;
  }
}

}  // namespace
