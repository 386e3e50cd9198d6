#include "tools/aerilon-soak/course_generator.h"

#include <string>

#include "tools/aerilon-soak/soak_geometry.h"

namespace {

using namespace course_model;
namespace geo = soak_geometry;

constexpr int32_t kKnots = 128;  // speed units per knot
constexpr int32_t kAnyHeading = 65536;
constexpr int32_t kSpreadMetres = 9000;

struct Base {
  int32_t lat;
  uint32_t lon;
};

// A point up to kSpreadMetres from the base, in course units.
struct Point {
  int32_t lat, lon;
};

Point Near(SoakRandom& r, const Base& base, int32_t spread = kSpreadMetres) {
  double north = r.Range(-spread, spread), east = r.Range(-spread, spread);
  int32_t lat = base.lat + static_cast<int32_t>(north * geo::LatitudeUnitsPerMetre());
  double lon = base.lon + east * geo::LongitudeUnitsPerMetre(base.lat);
  return Point{lat, static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(lon)))};
}

Box BoxAround(const Point& p, int32_t half_metres) {
  int32_t half_lat = static_cast<int32_t>(half_metres * geo::LatitudeUnitsPerMetre());
  int32_t half_lon = static_cast<int32_t>(half_metres * geo::LongitudeUnitsPerMetre(p.lat));
  return Box{p.lat - half_lat, p.lat + half_lat, p.lon - half_lon, p.lon + half_lon};
}

int32_t Heading(SoakRandom& r) {
  return r.OneIn(3) ? kAnyHeading : r.Range(0, 65535);
}

Text Voice(SoakRandom& r) {
  static const char* const kVoices[] = {"", "ADV\\RALLY\\Gate", "ADV\\RALLY\\Land",
                                        "ADV\\RALLY\\Start", "ADV\\RALLY\\Missed"};
  return kVoices[r.Range(0, 4)];
}

Text Warning(SoakRandom& r) {
  static const char* const kWarnings[] = {"", "Porta mancata: tornate indietro.",
                                          "Siete fuori rotta, \xE8 a sud!", "Atterrate qui."};
  return kWarnings[r.Range(0, 3)];
}

// Every draw is a statement or an element of a braced list of its own: the
// order of a function's arguments is the compiler's, and a seed must give
// the same course in every build.
Box RandomBox(SoakRandom& r, const Base& base, int32_t least_half, int32_t most_half) {
  Point centre = Near(r, base);
  return BoxAround(centre, r.Range(least_half, most_half));
}

StartGate MakeStart(SoakRandom& r, const Base& base) {
  int32_t speed_min = r.Range(40, 100) * kKnots;
  return StartGate{
      RandomBox(r, base, 250, 600),          r.Range(200, 800), r.Range(100, 200), speed_min,
      speed_min + r.Range(60, 150) * kKnots, Heading(r)};
}

Gate MakeGate(SoakRandom& r, const Base& base) {
  int32_t speed_min = r.Range(40, 100) * kKnots;
  return Gate{
      RandomBox(r, base, 200, 500),          r.Range(200, 900), r.Range(100, 250), speed_min,
      speed_min + r.Range(60, 150) * kKnots, Heading(r),        Warning(r),        Voice(r)};
}

Waypoint MakeWaypoint(SoakRandom& r, const Base& base) {
  Point p = Near(r, base);
  return Waypoint{p.lat,      p.lon,      r.Range(250, 600), r.Range(200, 900), r.Range(100, 250),
                  Heading(r), Warning(r), Voice(r)};
}

Landing MakeLanding(SoakRandom& r, const Base& base) {
  return Landing{RandomBox(r, base, 300, 800), r.Range(0, 60), Heading(r), Warning(r), Voice(r)};
}

TrackStart MakeTrack(SoakRandom& r, const Base& base) {
  Point p = Near(r, base);
  return TrackStart{p.lat,        p.lon, r.Range(0, 65535), r.Range(-3000, 3000), r.Range(-20, 20),
                    r.Range(0, 3)};
}

Collectible MakeCollectible(SoakRandom& r) {
  static const char* const kNames[] = {"",      "Rosa dei venti", "Ancora",        "Lanterna",
                                       "Elica", "Bussola",        "Ala d'argento", "Timone"};
  return Collectible{r.Range(-1, 21), r.Range(-20, 120), kNames[r.Range(0, 7)]};
}

Message MakeMessage(SoakRandom& r) {
  static const char* const kTexts[] = {"", "Benvenuti a bordo!", "Virate a destra.",
                                       "Quota di sicurezza: 300 metri, pi\xF9 in alto."};
  return Message{r.Range(0, 12), kTexts[r.Range(0, 3)], Voice(r)};
}

LegRecord MakeRecord(SoakRandom& r, const Base& base) {
  switch (r.Range(0, 9)) {
    case 0:
    case 1: return MakeGate(r, base);
    case 2:
    case 3: return MakeWaypoint(r, base);
    case 4: return MakeLanding(r, base);
    case 5: return MakeTrack(r, base);
    case 6: return TrackEnd{};
    case 7: return MakeCollectible(r);
    case 8: return QuizTimer{r.Range(0, 40)};
    default: return MakeMessage(r);
  }
}

Leg MakeLeg(SoakRandom& r, const Base& base) {
  Leg leg{MakeStart(r, base), {}, LegEnd{r.Range(0, 1000), r.Range(120, 1800), r.Range(0, 3)}};
  int32_t records = r.Range(0, 10);
  for (int32_t i = 0; i < records; ++i) leg.records.push_back(MakeRecord(r, base));
  return leg;
}

BonusBox MakeBonusBox(SoakRandom& r, int32_t lat, int32_t half_metres, int32_t half_alt) {
  // The refusal bits: 1 moving, 4 airborne, 8 on the ground; mostly none.
  static const int32_t kConditions[] = {0, 0, 0, 1, 4, 8};
  int32_t half_lon = static_cast<int32_t>(half_metres * geo::LongitudeUnitsPerMetre(lat));
  return BonusBox{half_metres, half_lon, half_alt, kConditions[r.Range(0, 5)]};
}

BonusObject MakeBonusObject(SoakRandom& r, const Base& base) {
  Point p = Near(r, base);
  int32_t outer = r.Range(600, 1200), middle = outer / 2, inner = outer / 5;
  // Bit 4: a percentage; bits 6 to 9: available under condition indexes 0 to 3.
  int32_t flags = r.OneIn(2) ? 16 : 0;
  flags |= (1 << 6) | (r.Range(0, 7) << 7);
  return BonusObject{p.lat,
                     p.lon,
                     r.Range(200, 700),
                     MakeBonusBox(r, p.lat, outer, 400),
                     MakeBonusBox(r, p.lat, middle, 200),
                     MakeBonusBox(r, p.lat, inner, 100),
                     flags,
                     r.Range(0, 19),
                     r.Range(0, 5),
                     r.Range(0, 100),
                     r.Range(-30, 60),
                     r.Range(-30, 60)};
}

QuizQuestion MakeQuestion(SoakRandom& r, int32_t i) {
  std::string n = std::to_string(i + 1);
  return QuizQuestion{"Domanda n\xB0 " + n + ": quale \xE8 la risposta giusta?", "La prima, " + n,
                      "La seconda", "La terza", r.Range(0, 100)};
}

}  // namespace

course_model::Course GenerateCourse(SoakRandom& r) {
  double lat_degrees = r.Real(-55.0, 55.0);
  double lon_degrees = r.Real(10.0, 170.0) * (r.OneIn(2) ? 1 : -1);
  Base base{geo::LatitudeUnits(lat_degrees), geo::LongitudeUnits(lon_degrees)};
  Course c;
  c.first_title = "Rally generato";
  c.second_title = "Percorso casuale n\xB0 " + std::to_string(r.Range(1, 9999));
  int32_t legs = r.Range(1, 5);
  for (int32_t i = 0; i < legs; ++i) c.legs.push_back(MakeLeg(r, base));
  int32_t objects = r.Range(0, 4);
  for (int32_t i = 0; i < objects; ++i) c.bonus_objects.push_back(MakeBonusObject(r, base));
  int32_t questions = r.Range(0, 6);
  for (int32_t i = 0; i < questions; ++i) c.questions.push_back(MakeQuestion(r, i));
  return c;
}
