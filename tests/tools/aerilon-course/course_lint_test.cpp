#include "tools/aerilon-course/check/check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "course_model/course_writer.h"
#include "examples/compiled_sample_course.h"
#include "tools/aerilon-course/load_course_document.h"
#include "tools/aerilon-course/source/designer_units.h"

namespace {

using namespace course_model;
namespace fs = std::filesystem;

constexpr int32_t kLat = 0x002CB9F3, kLon = 0x79457C16;  // near 26 degrees north
constexpr int32_t kLonPerMetre = 120;
constexpr int32_t kAny = 65536;

constexpr int32_t Knots(int32_t knots) {
  return knots * 128;
}
Box Around(int32_t north, int32_t half) {
  return Box{kLat + north - half, kLat + north + half, kLon - half * kLonPerMetre,
             kLon + half * kLonPerMetre};
}

// One leg north over 9 km that nothing is wrong with, its nine
// collectibles spelling the hidden word, a bonus object and a question.
// Records: 1 message, 2 gate, 3 track_start, 4 waypoint, 5 quiz_timer,
// 6 track_end, 7 landing, 8 to 16 the collectibles in slots 0 to 8.
CourseDocument CleanCourse() {
  Leg leg;
  leg.start = StartGate{Around(0, 300), 100, 100, Knots(0), Knots(200), kAny};
  leg.records = {
      Message{5, "Via!", "ADV\\RALLY\\Start"},
      Gate{Around(3000, 200), 400, 150, Knots(60), Knots(200), 0, "Porta", "ADV\\RALLY\\Gate"},
      TrackStart{kLat + 6000, kLon, 0, 1820, 10, 0},
      Waypoint{kLat + 6000, kLon, 500, 400, 200, kAny, "Faro", ""},
      QuizTimer{10},
      TrackEnd{},
      Landing{Around(9000, 400), 44, kAny, "Atterra", "ADV\\RALLY\\Land"},
  };
  for (int32_t slot = 0; slot < 9; ++slot) {
    leg.records.push_back(Collectible{slot, 10, std::string(1, "AERILONXY"[slot])});
  }
  leg.end = LegEnd{500, 900, 1};
  BonusObject b{kLat - 2000,
                kLon,
                200,
                {600, 72000, 200, 0},
                {300, 36000, 100, 0},
                {100, 12000, 50, 0},
                static_cast<int32_t>(0xFFFFFFC0u),
                1,
                3,
                10,
                200,
                50};
  CourseDocument d;
  d.file = "course.toml";
  d.course.first_title = "Prova";
  d.course.legs = {leg};
  d.course.bonus_objects = {b};
  d.course.questions = {{"Domanda?", "Giusta", "Seconda", "Terza", 10}};
  d.places = {{"Kestrin", kLat + 9000, kLon, 44, {}}};
  return d;
}

template <typename T>
T& Record(CourseDocument& d, size_t number) {
  return std::get<T>(d.course.legs[0].records.at(number - 1));
}
BonusObject& Bonus(CourseDocument& d) {
  return d.course.bonus_objects[0];
}
// The leg again, its start box `north` metres up, without its collectibles.
Leg AnotherLeg(const CourseDocument& d, int32_t north) {
  Leg leg = d.course.legs[0];
  leg.records.resize(7);
  leg.start.box = Around(north, 300);
  return leg;
}

struct Expected {
  Severity severity;
  std::string object;  // "" for the course as a whole
  std::string phrase;
};

struct Case {
  const char* what;
  std::function<void(CourseDocument&)> change;
  std::vector<Expected> findings;
};

constexpr Severity E = Severity::kError, W = Severity::kWarning;

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"nothing changed", [](CourseDocument&) {}, {}},
      {"any direction", [](CourseDocument& d) { d.course.legs[0].start.heading = 70000; }, {}},
      // Boxes, bands, speeds, headings.
      {"gate latitudes swapped",
       [](CourseDocument& d) {
         std::swap(Record<Gate>(d, 2).box.lat_min, Record<Gate>(d, 2).box.lat_max);
       },
       {{E, "leg 1, record 2 (gate)", "latitude edges are swapped"}}},
      {"start box over the date line",
       [](CourseDocument& d) {
         d.course.legs[0].start.box.lon_min = designer_units::LongitudeUnits(179.9);
         d.course.legs[0].start.box.lon_max = designer_units::LongitudeUnits(-179.9);
       },
       {{E, "leg 1, start box", "180th meridian"}}},
      {"landing longitudes swapped",
       [](CourseDocument& d) {
         std::swap(Record<Landing>(d, 7).box.lon_min, Record<Landing>(d, 7).box.lon_max);
       },
       {{E, "leg 1, record 7 (landing)", "longitude edges are swapped"}}},
      {"negative half-band",
       [](CourseDocument& d) { d.course.legs[0].start.alt_band = -1; },
       {{E, "leg 1, start box", "half-band is -1 m"}}},
      {"speeds swapped",
       [](CourseDocument& d) { Record<Gate>(d, 2).speed_min = Knots(250); },
       {{E, "leg 1, record 2 (gate)", "250 kn to 200 kn is empty"}}},
      {"top speed below 0",
       [](CourseDocument& d) { d.course.legs[0].start.speed_max = -1; },
       {{E, "leg 1, start box", "never below 0"}}},
      {"negative heading",
       [](CourseDocument& d) { Record<Waypoint>(d, 4).heading = -16384; },
       {{W, "leg 1, record 4 (waypoint)", "low 16 bits, 270 degrees"}}},
      {"waypoint radius 0",
       [](CourseDocument& d) { Record<Waypoint>(d, 4).radius = 0; },
       {{E, "leg 1, record 4 (waypoint)", "never passed"}}},
      {"landing above the ground",
       [](CourseDocument& d) { Record<Landing>(d, 7).alt = 50; },
       {{W, "leg 1, record 7 (landing)", "Kestrin, inside the box, lies at 44 m"}}},
      {"landing in feet",
       [](CourseDocument& d) {
         d.places.clear();
         Record<Landing>(d, 7).alt = 16000;
       },
       {{W, "leg 1, record 7 (landing)", "no ground's"}}},
      {"overlapping start boxes",
       [](CourseDocument& d) { d.course.legs.push_back(AnotherLeg(d, 100)); },
       {{W, "leg 2, start box", "overlaps leg 1's start box"}}},
      {"start boxes apart",
       [](CourseDocument& d) { d.course.legs.push_back(AnotherLeg(d, 700)); },
       {}},
      // Time.
      {"out of reach",
       [](CourseDocument& d) { d.course.legs[0].end.time_allowance = 30; },
       {{W, "leg 1, record 4 (waypoint)", "more than the time allowance of 30 s"}}},
      {"no allowance",
       [](CourseDocument& d) { d.course.legs[0].end.time_allowance = 0; },
       {{W, "leg 1, finish", "time allowance is 0 s"}}},
      {"negative factor",
       [](CourseDocument& d) { d.course.legs[0].end.time_factor = -1; },
       {{W, "leg 1, finish", "time factor is negative"}}},
      {"no target",
       [](CourseDocument& d) {
         auto& r = d.course.legs[0].records;
         r.erase(std::remove_if(r.begin(), r.end(),
                                [](const LegRecord& x) {
                                  return x.index() == 1 || x.index() == 2 || x.index() == 3;
                                }),
                 r.end());
       },
       {{W, "leg 1", "no gate, waypoint or landing"}}},
      // Tracks and messages.
      {"track without end",
       [](CourseDocument& d) { d.course.legs[0].records[5] = QuizTimer{1}; },
       {{W, "leg 1, record 3 (track_start)", "no track_end"}}},
      {"end without track",
       [](CourseDocument& d) { d.course.legs[0].records[2] = QuizTimer{1}; },
       {{W, "leg 1, record 6 (track_end)", "no track is running"}}},
      {"near zone 3",
       [](CourseDocument& d) { Record<TrackStart>(d, 3).near_zone = 3; },
       {{W, "leg 1, record 3 (track_start)", "undefined before the first"}}},
      {"negative tolerance",
       [](CourseDocument& d) { Record<TrackStart>(d, 3).tolerance = -1820; },
       {{W, "leg 1, record 3 (track_start)", "absolute value is taken, 10 degrees"}}},
      {"tolerance 0",
       [](CourseDocument& d) { Record<TrackStart>(d, 3).tolerance = 0; },
       {{W, "leg 1, record 3 (track_start)", "slightest deviation"}}},
      {"radial above 360 degrees",
       [](CourseDocument& d) { Record<TrackStart>(d, 3).radial = 65536; },
       {{W, "leg 1, record 3 (track_start)", "low 16 bits are used, 0 degrees"}}},
      {"message of 0 s",
       [](CourseDocument& d) { Record<Message>(d, 1).seconds = 0; },
       {{W, "leg 1, record 1 (message)", "shows nothing"}}},
      {"message with a voice only",
       [](CourseDocument& d) { Record<Message>(d, 1).text = ""; },
       {{W, "leg 1, record 1 (message)", "plays no voice"}}},
      // Quiz.
      {"timer without questions",
       [](CourseDocument& d) { d.course.questions.clear(); },
       {{W, "leg 1, record 5 (quiz_timer)", "no quiz questions"}}},
      {"questions without timer",
       [](CourseDocument& d) {
         d.course.legs[0].records[4] = Message{3, "Ciao", ""};
       },
       {{W, "", "no quiz timer: none is ever asked"}}},
      {"timer after the last target",
       [](CourseDocument& d) { d.course.legs[0].records.push_back(QuizTimer{5}); },
       {{W, "leg 1, record 17 (quiz_timer)", "after the leg's last target"}}},
      {"question without an answer",
       [](CourseDocument& d) { d.course.questions[0].third = ""; },
       {{W, "quiz question 1", "third answer is missing"}}},
      {"41 questions",
       [](CourseDocument& d) { d.course.questions.resize(41, d.course.questions[0]); },
       {{E, "", "41 quiz questions"}}},
      // Names and texts.
      {"name slot twice",
       [](CourseDocument& d) { Record<Collectible>(d, 16).name_slot = 0; },
       {{W, "", "name slot 8: the hidden word stays incomplete, and without slot 8"},
        {W, "leg 1, record 16 (collectible)", "used by leg 1, record 8 (collectible) too"}}},
      {"name slot past the word",
       [](CourseDocument& d) {
         d.course.legs[0].records.push_back(Collectible{12, 5, "Z"});
       },
       {{W, "leg 1, record 17 (collectible)", "remembered but never shown"}}},
      {"name slot outside",
       [](CourseDocument& d) { Record<Collectible>(d, 9).name_slot = 20; },
       {{W, "", "name slot 1: the hidden word stays incomplete"},
        {W, "leg 1, record 9 (collectible)", "its name is not remembered"}}},
      {"letter without a name",
       [](CourseDocument& d) { Record<Collectible>(d, 8).name = ""; },
       {{W, "leg 1, record 8 (collectible)", "letter 1 of the hidden word stays empty"}}},
      {"long announcement",
       [](CourseDocument& d) { Record<Collectible>(d, 8).name = std::string(236, 'a'); },
       {{W, "leg 1, record 8 (collectible)", "announcement (RACCOLTA! ...) is 258 characters"}}},
      {"long message",
       [](CourseDocument& d) { Record<Message>(d, 1).text = std::string(256, 'a'); },
       {{W, "leg 1, record 1 (message)", "256 characters long; the message line keeps 255"}}},
      {"message of 255",
       [](CourseDocument& d) { Record<Message>(d, 1).text = std::string(255, 'a'); },
       {}},
      // The course as a whole.
      {"21 legs",
       [](CourseDocument& d) {
         for (int i = 1; i <= 20; ++i) d.course.legs.push_back(AnotherLeg(d, 1000 * i));
       },
       {{E, "", "21 legs"}, {E, "leg 21", "only entries 1 to 20 have a score record"}}},
      {"a leg after a bonus object",
       [](CourseDocument& d) {
         d.course.entry_order = {{EntrySlot::kBonusObject, 0}, {EntrySlot::kLeg, 0}};
       },
       {{E, "leg 1", "after entry 1, which is not a leg"}}},
      {"header leg count",
       [](CourseDocument& d) { d.course.leg_count = 2; },
       {{W, "", "lists and adds up legs 1 to 2"}}},
      {"title too long",
       [](CourseDocument& d) { d.course.second_title = std::string(48, 't'); },
       {{E, "", "second title is 48 bytes long; at most 47"}}},
      // Bonus objects.
      {"no condition bit",
       [](CourseDocument& d) { Bonus(d).flags = 0x3F; },
       {{E, "bonus object 1", "exists in no condition"}}},
      {"counter slot 20",
       [](CourseDocument& d) { Bonus(d).counter_slot = 20; },
       {{E, "bonus object 1", "take-counter slot 20"}}},
      {"no takes",
       [](CourseDocument& d) { Bonus(d).max_takes = 0; },
       {{W, "bonus object 1", "never awarded"}}},
      {"no room inside",
       [](CourseDocument& d) { Bonus(d).inner.half_alt = 0; },
       {{E, "bonus object 1", "inner box's altitude half-size is 0"}}},
      {"middle outside the outer",
       [](CourseDocument& d) {
         Bonus(d).middle = BonusBox{601, 72001, 201, 0};
       },
       {{E, "bonus object 1", "so it never is"}}},
      {"middle as high as the outer",
       [](CourseDocument& d) { Bonus(d).middle.half_alt = 200; },
       {{W, "bonus object 1", "entering it from above or below"}}},
      {"middle as large as the outer",
       [](CourseDocument& d) {
         Bonus(d).middle = BonusBox{600, 72000, 200, 0};
       },
       {{W, "bonus object 1", "only exactly on the outer box's edge"}}},
      {"inner as wide as the middle",
       [](CourseDocument& d) { Bonus(d).inner.half_lat = 300; },
       {{W, "bonus object 1", "inner box is not smaller than its middle box in latitude"}}},
      {"outer refuses everyone",
       [](CourseDocument& d) { Bonus(d).outer.conditions = 12; },
       {{E, "bonus object 1", "never armed"}}},
      {"inner refuses everyone",
       [](CourseDocument& d) { Bonus(d).inner.conditions = 13; },
       {{E, "bonus object 1", "never awarded"}}},
      {"middle refuses everyone",
       [](CourseDocument& d) { Bonus(d).middle.conditions = 12; },
       {{W, "bonus object 1", "loses the approach"}}},
      {"inner takes only the stopped",
       [](CourseDocument& d) { Bonus(d).inner.conditions = 5; },
       {}},
      // What compile let pass without a word.
      {"no legs",
       [](CourseDocument& d) { d.course.legs.clear(); },
       {{E, "", "no legs ([[leg]]): there is no race to fly"},
        {W, "", "no quiz timer: none is ever asked"}}},
      {"no title", [](CourseDocument& d) { d.course.first_title = ""; }, {{W, "", "no title"}}},
      {"gate of size 0",
       [](CourseDocument& d) { Record<Gate>(d, 2).box = Around(3000, 0); },
       {{E, "leg 1, record 2 (gate)", "0 m from north to south and west to east"}}},
      {"landing 0 m wide",
       [](CourseDocument& d) {
         Record<Landing>(d, 7).box.lon_max = Record<Landing>(d, 7).box.lon_min;
       },
       {{E, "leg 1, record 7 (landing)",
         "0 m from west to east: the aircraft is inside it only on that very line"}}},
      {"latitudes beyond the pole",
       [](CourseDocument& d) {
         d.course.legs[0].start.box.lat_max = 10001751;
         Record<TrackStart>(d, 3).lat = -10001751;
         Bonus(d).lat = INT32_MAX;
       },
       {{E, "leg 1, start box", "north edge N90 00.001 lies beyond the pole"},
        {E, "leg 1, record 3 (track_start)", "reference point's latitude S90 00.001 lies beyond"},
        {E, "bonus object 1", "centre's latitude N193"}}},
      {"no collectibles at all", [](CourseDocument& d) { d.course.legs[0].records.resize(7); }, {}},
  };
  return cases;
}

TEST(CourseLint, EachMistakeIsFoundAtItsObject) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.what);
    CourseDocument document = CleanCourse();
    c.change(document);
    std::vector<Diagnostic> found = CheckCourse(document, std::nullopt);
    std::string all;
    for (const Diagnostic& d : found) all += d.message + "\n";
    ASSERT_EQ(found.size(), c.findings.size()) << all;
    for (size_t i = 0; i < found.size(); ++i) {
      const Expected& e = c.findings[i];
      EXPECT_EQ(found[i].severity, e.severity) << found[i].message;
      std::string named = e.object.empty() ? "" : e.object + ": ";
      EXPECT_EQ(found[i].message.substr(0, named.size()), named) << found[i].message;
      EXPECT_NE(found[i].message.find(e.phrase), std::string::npos) << found[i].message;
    }
  }
}

// The sample course is sound but for its one collectible: its hidden word
// is never complete. Read back from its course file, it says the same.
TEST(CourseLint, TheSampleCourseOnlyMissesItsHiddenWord) {
  fs::path file = fs::temp_directory_path() / "course_lint_sample.DAT";
  std::vector<uint8_t> bytes = EncodeCourseFile(SampleCourse());
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  CourseDocument document;
  std::vector<Diagnostic> read;
  ASSERT_TRUE(LoadCourseDocument(file.string(), &document, &read));
  fs::remove(file);
  std::vector<Diagnostic> found = CheckCourse(document, std::nullopt);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(FormatDiagnostic(found[0]),
            file.string() +
                ": warning: no collectible uses name slots 1 to 8: the hidden word "
                "stays incomplete, and without slot 8 the score summary never shows "
                "the verification key");
  EXPECT_EQ(CheckExitStatus(found), 2);
  EXPECT_EQ(CountFindings(found), "0 errors, 1 warning");
  EXPECT_EQ(CheckExitStatus({}), 0);
}

TEST(CourseLint, AFindingStandsAtItsObjectsLineInTheSource) {
  CourseDocument document = CleanCourse();
  document.from_source = true;
  document.legs.resize(1);
  document.legs[0].records.resize(16);
  document.legs[0].records[1] = SourceSpot{42, 3};
  Record<Gate>(document, 2).box.lat_min = kLat + 5000;
  Record<Gate>(document, 2).speed_max = -128;
  std::vector<Diagnostic> found = CheckCourse(document, std::nullopt);
  ASSERT_EQ(found.size(), 2u);
  EXPECT_EQ(FormatDiagnostic(found[0]).rfind("course.toml:42:3: error: leg 1, record 2 (gate): "
                                             "its latitude edges are swapped: the minimum N26",
                                             0),
            0u)
      << FormatDiagnostic(found[0]);
  EXPECT_EQ(CheckExitStatus(found), 1);
  EXPECT_EQ(CountFindings(found), "2 errors, 0 warnings");
}

// Prompts are looked for as files below the folder, in any letter case;
// each missing one is told once, at its first use.
TEST(CourseLint, VoicePromptsNeedTheirSoundFiles) {
  fs::path folder = fs::temp_directory_path() / "course_lint_sounds";
  fs::remove_all(folder);
  fs::create_directories(folder / "adv" / "Rally");
  std::ofstream(folder / "adv" / "Rally" / "START.WAV") << "RIFF";
  CourseDocument document = CleanCourse();
  Record<Landing>(document, 7).warning_voice = "ADV\\RALLY\\Gate";
  std::vector<Diagnostic> found = CheckCourse(document, folder.string());
  ASSERT_EQ(found.size(), 1u);
  EXPECT_NE(found[0].message.find("record 2 (gate): its voice prompt \"ADV\\RALLY\\Gate\", used 2 "
                                  "times, has no sound file " +
                                  folder.string() + "/ADV/RALLY/Gate.wav"),
            std::string::npos)
      << found[0].message;
  fs::remove_all(folder);
  found = CheckCourse(document, folder.string());
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].severity, Severity::kError);
  EXPECT_EQ(found[0].file, folder.string());
}

// compile tells check's errors as warnings, or refuses them when strict;
// a flood of findings is cut after the first hundred, and the rest counted.
TEST(CourseLint, CompileTellsChecksErrorsAndAFloodIsCut) {
  CourseDocument document = CleanCourse();
  document.course.legs[0].start.alt_band = -1;
  document.course.first_title = "";
  std::vector<Diagnostic> told = CompileFindings(document, false);
  ASSERT_EQ(told.size(), 1u) << "check's warnings stay check's";
  EXPECT_EQ(FormatDiagnostic(told[0]),
            "course.toml: warning: leg 1, start box: its altitude half-band is -1 m: no altitude "
            "is within it, so it never holds");
  std::vector<Diagnostic> flood(250, CompileFindings(document, true).at(0));
  EXPECT_EQ(flood[0].severity, Severity::kError);
  flood[200].severity = Severity::kWarning;
  std::ostringstream out;
  PrintDiagnostics(out, flood);
  std::string text = out.str();
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 101);
  EXPECT_EQ(text.substr(text.rfind('\n', text.size() - 2) + 1),
            "course.toml: 150 more not shown (149 errors, 1 warning)\n");
}

}  // namespace
