#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

// A course as a designer thinks of it, and the writer that lays it out in
// the course file's format and scrambles it. Texts are Windows Latin-1
// bytes; an empty text is written as offset 0 (none). Reserved fields and
// header bytes 11 to 15 are written as 0.
namespace course_source {

struct Box {
  int32_t lat_min, lat_max, lon_min, lon_max;
};
struct StartGate {
  Box box;
  int32_t alt_centre, alt_band, speed_min, speed_max, heading;
};
struct Message {
  int32_t seconds;
  std::string text, voice;
};
struct Gate {
  Box box;
  int32_t alt_centre, alt_band, speed_min, speed_max, heading;
  std::string warning_text, warning_voice;
};
struct Waypoint {
  int32_t lat, lon, radius, alt, alt_band, heading;
  std::string warning_text, warning_voice;
};
struct Landing {
  Box box;
  int32_t alt, heading;
  std::string warning_text, warning_voice;
};
struct TrackStart {
  int32_t lat, lon, radial, tolerance, weight, near_zone;
};
struct TrackEnd {};
struct Collectible {
  int32_t name_slot, points;
  std::string name;
};
struct QuizTimer {
  int32_t delay;
};
struct LegEnd {
  int32_t base_points, time_allowance, time_factor;
};
using LegRecord =
    std::variant<Message, Gate, Waypoint, Landing, TrackStart, TrackEnd, Collectible, QuizTimer>;

struct Leg {
  StartGate start;
  std::vector<LegRecord> records;  // in the order the pilot meets them
  LegEnd end;
};

struct BonusBox {
  int32_t half_lat, half_lon, half_alt, conditions;
};
struct BonusObject {
  int32_t lat, lon, alt;
  BonusBox outer, middle, inner;
  int32_t flags, counter_slot, max_takes, alternative_percent, alternative_value, normal_value;
};

struct QuizQuestion {
  std::string question, correct, second, third;
  int32_t points;
};

struct Course {
  std::string first_title, second_title;   // at most 47 bytes each
  std::vector<Leg> legs;                   // entries 0 to legs - 1
  std::vector<BonusObject> bonus_objects;  // entries after the legs
  std::vector<QuizQuestion> questions;
};

}  // namespace course_source

// The plain (unscrambled) image: header, entry table, leg streams, bonus
// objects, quiz table, then the texts, each distinct text stored once.
std::vector<uint8_t> LayOutCourse(const course_source::Course& course);
// The bytes of a course file: the laid-out image, scrambled.
std::vector<uint8_t> EncodeCourseFile(const course_source::Course& course);
// Writes the course file; false when the file cannot be written.
bool WriteCourseFile(const std::string& path, const course_source::Course& course);

// A small course for trying the module out: two legs from the island's
// airfields, a bonus object and a few quiz questions.
course_source::Course SampleCourse();
