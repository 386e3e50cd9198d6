#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "course_model/course_writer.h"
#include "rally/host/stdio_platform.h"
#include "rally/module/lifecycle.h"
#include "rally/race/race_commands.h"
#include "rally/state/module.h"
#include "sim/geodesy.h"
#include "tests/support/course_test_support.h"
#include "tests/support/module_test_support.h"

// Small courses built in code and flown tick by tick through the stand-in
// host. Positions are in the simulator's units: latitude and longitude as
// the upper 32-bit words (or whole 64-bit values where a distance must come
// out exact), altitude in metres, speed in knots x 128, heading as a 16-bit
// angle.
namespace flight {

using namespace course_model;

// Near the island's first airfield.
constexpr int32_t kLat = 0x002CB9F3;
constexpr int32_t kLon = 0x79457C16;
constexpr int32_t kAlt = 300;
constexpr int32_t kAnyHeading = 65536;
constexpr int32_t kKnots = 128;
constexpr int32_t kCruise = 100 * kKnots;

// At this latitude one latitude unit is about a metre and one metre is
// about 120 longitude units; boxes are sized with these.
constexpr int32_t kLonUnitsPerMetre = 120;

// Metres along a meridian per degree of latitude on the stand-in's sphere.
inline double MetresPerDegree() {
  return geodesy::kEarthRadius * 3.14159265358979323846 / 180.0;
}

// The 64-bit latitude `metres` north of `latitude` (south when negative):
// on one meridian the stand-in then measures exactly that ground distance.
inline int64_t NorthOf(int64_t latitude, double metres) {
  return geodesy::LatitudeFromDegrees(geodesy::LatitudeDegrees(latitude) +
                                      metres / MetresPerDegree());
}

inline Box BoxAround(int32_t lat, int32_t lon, int32_t half_metres) {
  return Box{lat - half_metres, lat + half_metres, lon - half_metres * kLonUnitsPerMetre,
             lon + half_metres * kLonUnitsPerMetre};
}

// A start box of 50 m either side at (lat, kLon), any heading, any speed up
// to 1000 knots, 300 m either side of kAlt.
inline StartGate StartAt(int32_t lat = kLat, int32_t heading = kAnyHeading) {
  return StartGate{BoxAround(lat, kLon, 50), kAlt, 300, 0, 1000 * kKnots, heading};
}

// A gate of 50 m either side `metres_north` of the start, same rules.
inline Gate GateAt(int32_t metres_north, int32_t heading = kAnyHeading,
                   const std::string& warning = "Porta mancata") {
  return Gate{BoxAround(kLat + metres_north, kLon, 50),
              kAlt,
              300,
              0,
              1000 * kKnots,
              heading,
              warning,
              "ADV\\RALLY\\Gate"};
}

inline Leg LegOf(std::vector<LegRecord> records, LegEnd end = LegEnd{100, 600, 1},
                 StartGate start = StartAt()) {
  return Leg{start, std::move(records), end};
}

inline Course CourseOf(std::vector<Leg> legs, std::vector<BonusObject> objects = {},
                       std::vector<QuizQuestion> questions = {}) {
  Course c;
  c.first_title = "Prova";
  c.second_title = "Voli di prova";
  c.legs = std::move(legs);
  c.bonus_objects = std::move(objects);
  c.questions = std::move(questions);
  return c;
}

}  // namespace flight

// The module started on the stand-in host with a course of the test's own;
// the engine's tick is registered, the aircraft flies at cruise speed far
// from every object.
class Flight : public ModuleOnSim {
 protected:
  void Fly(const course_model::Course& course) { FlyImage(LayOutCourse(course)); }
  // For what the course writer refuses to write: the laid-out image is
  // changed before it is scrambled.
  void FlyPatched(const course_model::Course& course,
                  const std::function<void(course_test::Bytes&)>& patch) {
    course_test::Bytes image = LayOutCourse(course);
    patch(image);
    FlyImage(image);
  }
  void FlyImage(course_test::Bytes image) {
    ScrambleWords(image.data(), static_cast<uint32_t>(image.size()));
    folder_.WriteBytes("Rally.DAT", image);
    ASSERT_EQ(ModuleInit(m()), 1);
    Ticks(kStartupDelayTicks + 1);
    ASSERT_EQ(m().frame.tick_routine, m().routines.engine_tick);
    Speed(flight::kCruise);
    Park();
  }
  // A score file whose leg totals are given (leg 0 first); percentage 100.
  void ScoresWithTotals(const std::vector<int32_t>& totals,
                        const std::vector<std::string>& names = {}) {
    std::map<uint32_t, int32_t> words{{score::kPercentageWord, 100}};
    for (size_t leg = 0; leg < totals.size(); ++leg) {
      words[score::kLegScoreWord + score::kLegScoreWords * leg + score::kLegTotal] = totals[leg];
    }
    folder_.WriteBytes("Rally.SCO", course_test::ScoreFile(words, names));
  }

  // 50 km south of everything.
  void Park() { AtUnits(flight::kLat - 50000, flight::kLon); }
  void AtUnits(int32_t lat, int32_t lon, int32_t alt = flight::kAlt) {
    At(FromUpperWord(lat), FromUpperWord(lon), alt);
  }
  void At(int64_t lat, int64_t lon, int32_t alt = flight::kAlt) {
    SetSimAircraftPosition(host_.state, HostPosition{lat, lon, FromUpperWord(alt)});
  }
  // `metres` north of the start, on its meridian.
  void North(double metres) {
    At(flight::NorthOf(FromUpperWord(flight::kLat), metres), FromUpperWord(flight::kLon));
  }
  void Heading(uint16_t angle) { SetSimAircraftHeading(host_.state, uint32_t{angle} << 16); }
  void Speed(int32_t speed) { SetSimAircraftSpeed(host_.state, speed); }
  void OnGround(bool ground) { SetSimOnGround(host_.state, ground ? 1 : 0); }

  void Tick(int n = 1) { Ticks(n); }

  // Arms and flies into the first leg's start box; the leg starts this tick.
  void StartFirstLeg() {
    ToggleRace(m());
    AtUnits(flight::kLat, flight::kLon);
    Tick();
    ASSERT_EQ(race().state, kLegRunning);
  }

  RaceEngine& race() { return m().race; }

  // Texts waiting in the message queue, the front first.
  std::vector<std::string> Waiting() {
    std::vector<std::string> texts;
    for (int32_t i = 0; i < m().messages.count; ++i) texts.push_back(m().messages.slots[i].text);
    return texts;
  }
  // Texts shown with show_text so far, queued or immediate.
  std::vector<std::string> Shown() const {
    std::vector<std::string> texts;
    for (const SimCall* c : SimCallsNamed(host_, "show_text")) texts.push_back(c->text);
    return texts;
  }
  int TimesShown(const std::string& text) const {
    int n = 0;
    for (const std::string& shown : Shown()) n += shown == text;
    return n;
  }
  std::vector<std::string> PromptsLoaded() const {
    std::vector<std::string> names;
    for (const SimCall* c : SimCallsNamed(host_, "load_sound")) names.push_back(c->text);
    return names;
  }
  int Dialogs(int32_t id) const {
    int n = 0;
    for (const SimCall* c : SimCallsNamed(host_, "DialogBoxParamA")) n += c->args[0] == id;
    return n;
  }

  // The score file as it is on disk now: its block and its names.
  struct DiskScores {
    std::array<int32_t, score::kBlockWords> words;
    std::vector<std::string> names;
    int32_t BestTotal(int32_t leg) const {
      return words[score::kLegScoreWord + score::kLegScoreWords * leg + score::kLegTotal];
    }
  };
  DiskScores ScoresOnDisk() {
    ScoreTable t{};
    StdioPlatform files{};
    std::snprintf(files.root, sizeof files.root, "%s", folder_.root.c_str());
    PlatformOps p = MakeStdioPlatform(&files);
    ReadScoreFile(t, p, "ADV\\RALLY\\Rally.SCO", 0);
    DiskScores disk;
    std::copy(std::begin(t.words), std::end(t.words), disk.words.begin());
    for (const char* name : t.name_slots) disk.names.push_back(name != nullptr ? name : "");
    ReleaseNamePool(t, p);
    return disk;
  }
  bool ScoreFileExists() const { return std::filesystem::exists(folder_.File("Rally.SCO")); }
};
