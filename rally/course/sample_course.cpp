#include "rally/course/course_writer.h"

using namespace course_source;

// The demo course, flown on the island: from Ralliest Base north to
// Kestrin's Municipal, then north-east to the air force base. Pilot-visible
// texts are Italian, in Latin-1. The sample flight (examples/) flies the
// first leg through all of it and takes the balloon on the climb-out.
namespace {

// Latitude units are close to one metre; near 26 degrees north a metre of
// longitude is about 120 units.
constexpr int32_t kLonUnitsPerMetre = 120;

struct Place {
  int32_t lat, lon;
};
constexpr Place kRalliestBase{0x002CB9F3, 0x79457C16};
constexpr Place kKestrinsMunicipal{0x002CECB1, 0x79457E46};
constexpr Place kAirForceBase{0x002D159F, 0x79618076};

constexpr int32_t kKestrinsElevation = 44;
constexpr int32_t kAirForceBaseElevation = 6;

// Headings are 16-bit angles; this value or more accepts any direction.
constexpr int32_t kAnyHeading = 65536;

constexpr int32_t Knots(int32_t knots) {
  return knots * 128;
}
constexpr int32_t Degrees(int32_t degrees) {
  return degrees * 65536 / 360;
}

Place Offset(Place from, int32_t metres_north, int32_t metres_east) {
  return Place{from.lat + metres_north, from.lon + metres_east * kLonUnitsPerMetre};
}

Box Around(Place centre, int32_t half_metres) {
  int32_t half_lon = half_metres * kLonUnitsPerMetre;
  return Box{centre.lat - half_metres, centre.lat + half_metres, centre.lon - half_lon,
             centre.lon + half_lon};
}

const char kGateMissedVoice[] = "ADV\\RALLY\\GateMissed";
const char kGateMissedText[] = "Porta mancata: ripassate entro la fascia di quota.";

// Ralliest Base to Kestrin's Municipal: out west, north along the coast to
// the lighthouse, then the final approach from the south, held on the
// runway's radial.
Leg FirstLeg() {
  Place start = Offset(kRalliestBase, 0, -2500);
  Place gate = Offset(kRalliestBase, 4000, -3200);
  Place lighthouse = Offset(kRalliestBase, 8000, -2000);
  Place approach_fix = Offset(kKestrinsMunicipal, -4000, 0);
  Leg leg;
  leg.start = StartGate{Around(start, 300), 300, 100, Knots(60), Knots(220), Degrees(270)};
  leg.records = {
      Message{8, "Benvenuti al rally! La prima porta \xE8 a nord, a 4 chilometri.",
              "ADV\\RALLY\\Start"},
      Gate{Around(gate, 200), 400, 150, Knots(80), Knots(180), Degrees(0), kGateMissedText,
           kGateMissedVoice},
      Waypoint{lighthouse.lat, lighthouse.lon, 500, 450, 200, kAnyHeading,
               "Passate entro 500 metri dal faro.", ""},
      // Picked up at the lighthouse; the question comes 20 seconds later.
      Collectible{0, 50, "Faro di Capo Nord"},
      QuizTimer{20},
      Waypoint{approach_fix.lat, approach_fix.lon, 400, 350, 200, kAnyHeading,
               "Passate sul fix di avvicinamento, 4 km a sud della pista.", ""},
      // From the fix to the runway, inbound on the 180 radial of Kestrin's
      // Municipal within 10 degrees; the last nautical mile is not judged.
      TrackStart{kKestrinsMunicipal.lat, kKestrinsMunicipal.lon, Degrees(180), Degrees(10), 10, 0},
      Landing{Around(kKestrinsMunicipal, 400), kKestrinsElevation, Degrees(0),
              "Atterrate sulla pista di Kestrin's Municipal.", "ADV\\RALLY\\Land"},
      TrackEnd{},
  };
  leg.end = LegEnd{500, 900, 1};
  return leg;
}

// Kestrin's Municipal to the air force base, climbing out north-east.
Leg SecondLeg() {
  Place start = Offset(kKestrinsMunicipal, 600, 900);
  Place gate = Offset(kKestrinsMunicipal, 5200, 7700);
  Leg leg;
  leg.start = StartGate{Around(start, 300), 300, 150, Knots(60), Knots(220), Degrees(56)};
  leg.records = {
      Message{6, "Seconda tappa: rotta verso la base aerea.", "ADV\\RALLY\\Leg2"},
      Gate{Around(gate, 250), 500, 200, Knots(80), Knots(200), kAnyHeading, kGateMissedText,
           kGateMissedVoice},
      Landing{Around(kAirForceBase, 500), kAirForceBaseElevation, kAnyHeading,
              "Atterrate alla base aerea.", "ADV\\RALLY\\Land"},
  };
  leg.end = LegEnd{600, 1200, 1};
  return leg;
}

// A balloon over the climb-out west of Ralliest Base, short of the first
// leg's start: bonus objects are taken outside the legs. It is there in
// every condition the simulator reports (bits 6 and up of the flags).
BonusObject Balloon() {
  Place centre = Offset(kRalliestBase, 0, -1200);
  BonusObject b{};
  b.lat = centre.lat;
  b.lon = centre.lon;
  b.alt = 200;
  b.outer = BonusBox{600, 600 * kLonUnitsPerMetre, 200, 0};
  b.middle = BonusBox{300, 300 * kLonUnitsPerMetre, 100, 0};
  b.inner = BonusBox{100, 100 * kLonUnitsPerMetre, 50, 0};
  b.flags = static_cast<int32_t>(0xFFFFFFC0u);  // points (bit 4 clear), any condition
  b.counter_slot = 1;
  b.max_takes = 3;
  b.alternative_percent = 10;
  b.alternative_value = 200;
  b.normal_value = 50;
  return b;
}

std::vector<QuizQuestion> Questions() {
  return {
      {"Che cosa indica il QNH?", "La pressione riportata al livello del mare",
       "La quota di transizione", "La direzione del vento al suolo", 30},
      {"Di che colore \xE8 la luce di navigazione sull'ala destra?", "Verde", "Rossa", "Bianca",
       20},
      {"Quanti metri sono circa mille piedi?", "300", "1000", "3000", 25},
  };
}

}  // namespace

Course SampleCourse() {
  Course course;
  course.first_title = "Rally dell'isola";
  course.second_title = "Da Ralliest Base alla base aerea";
  course.legs = {FirstLeg(), SecondLeg()};
  course.bonus_objects = {Balloon()};
  course.questions = Questions();
  return course;
}
