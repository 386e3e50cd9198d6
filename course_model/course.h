#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

// A course as a designer thinks of it: the plain structs the course tools
// read, write, check and draw. Texts are Windows Latin-1 bytes.
namespace course_model {

// A text or voice reference: none (offset 0) or Latin-1 bytes. Made from a
// string, an empty one is none; Text::Empty() is the rare text that is
// there but holds nothing (a NUL byte of its own), which the message
// queue shows as an empty line where it would show nothing for none.
class Text {
 public:
  Text() = default;
  Text(const char* bytes) : bytes_(bytes), present_(!bytes_.empty()) {}  // NOLINT: implicit
  Text(std::string bytes) : bytes_(std::move(bytes)), present_(!bytes_.empty()) {}  // NOLINT
  static Text Empty() {
    Text t;
    t.present_ = true;
    return t;
  }
  bool IsNone() const { return !present_; }
  const std::string& Bytes() const { return bytes_; }
  bool operator==(const Text& o) const { return present_ == o.present_ && bytes_ == o.bytes_; }
  bool operator!=(const Text& o) const { return !(*this == o); }

 private:
  std::string bytes_;
  bool present_ = false;
};

struct Box {
  int32_t lat_min, lat_max, lon_min, lon_max;
};
struct StartGate {
  Box box;
  int32_t alt_centre, alt_band, speed_min, speed_max, heading;
};
struct Message {
  int32_t seconds;
  Text text, voice;
};
struct Gate {
  Box box;
  int32_t alt_centre, alt_band, speed_min, speed_max, heading;
  Text warning_text, warning_voice;
};
struct Waypoint {
  int32_t lat, lon, radius, alt, alt_band, heading;
  Text warning_text, warning_voice;
};
struct Landing {
  Box box;
  int32_t alt, heading;
  Text warning_text, warning_voice;
};
struct TrackStart {
  int32_t lat, lon, radial, tolerance, weight, near_zone;
};
struct TrackEnd {};
struct Collectible {
  int32_t name_slot, points;
  Text name;
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
  Text question, correct, second, third;
  int32_t points;
};

// One cell of the entry table. A course normally lists its legs and then
// its bonus objects; a file may interleave them or hold entries the engine
// ignores (a record of another type), which keep their index.
struct EntrySlot {
  enum Kind { kLeg, kBonusObject, kIgnored } kind;
  size_t index;  // into legs or bonus_objects; unused for kIgnored
  bool operator==(const EntrySlot& o) const {
    return kind == o.kind && (kind == kIgnored || index == o.index);
  }
};

struct Course {
  std::string first_title, second_title;   // at most 47 bytes each
  std::vector<Leg> legs;                   // entries 0 to legs - 1
  std::vector<BonusObject> bonus_objects;  // entries after the legs
  std::vector<QuizQuestion> questions;
  // Empty: the legs, then the bonus objects. Otherwise every leg and every
  // bonus object exactly once, in entry-table order.
  std::vector<EntrySlot> entry_order;
  // The leg count of the header, when it is not the number of legs (the
  // score summary lists legs 1 to this number).
  std::optional<int32_t> leg_count;
};

// The entry table's order: entry_order, or the legs then the bonus objects.
std::vector<EntrySlot> EntryOrder(const Course& course);

}  // namespace course_model
