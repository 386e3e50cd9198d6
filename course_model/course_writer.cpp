#include "course_model/course_writer.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <utility>

#include "common/little_endian.h"
#include "rally/course/course_format.h"
#include "rally/course/scramble.h"

using namespace course;
using namespace course_model;

namespace {

[[noreturn]] void Refuse(const std::string& where, const std::string& what) {
  throw std::invalid_argument("course, " + where + ": " + what);
}

std::string LegRecordName(const LegRecord& record) {
  static const char* const kNames[] = {"Message",    "Gate",     "Waypoint",    "Landing",
                                       "TrackStart", "TrackEnd", "Collectible", "QuizTimer"};
  static_assert(sizeof kNames / sizeof kNames[0] == std::variant_size_v<LegRecord>);
  return kNames[record.index()];
}

// Names the record a refusal is about the way a designer counts: legs and
// the records of a leg's list from 1.
std::string RecordPlace(size_t leg, size_t record, const std::string& kind) {
  return "leg " + std::to_string(leg + 1) + ", record " + std::to_string(record + 1) + " (" + kind +
         ")";
}

void CheckSlot(const std::string& where, const char* field, int32_t slot) {
  if (slot < 0 || slot >= kScoreSlots) {
    Refuse(where, std::string(field) + " " + std::to_string(slot) + " is outside 0 to " +
                      std::to_string(kScoreSlots - 1));
  }
}

// The image under construction. Texts are collected with the field that
// refers to them and placed after everything else, each distinct text once.
class ImageBuilder {
 public:
  uint32_t Here() const { return static_cast<uint32_t>(bytes_.size()); }

  // Appends a zeroed record of the given type and returns its offset.
  uint32_t AddRecord(int32_t type) {
    uint32_t at = Here();
    bytes_.resize(bytes_.size() + RecordSize(type), 0);
    Int(at, type);
    return at;
  }

  void Reserve(uint32_t bytes) { bytes_.resize(bytes_.size() + bytes, 0); }
  void Int(uint32_t at, int32_t value) { store_i32le(&bytes_[at], value); }
  void Bytes(uint32_t at, const char* data, uint32_t length) {
    std::copy(data, data + length, bytes_.begin() + at);
  }

  void Title(uint32_t at, const std::string& title, const char* which) {
    if (title.size() >= kTitleBytes) {
      Refuse("header", std::string(which) + " is " + std::to_string(title.size()) +
                           " bytes long; at most " + std::to_string(kTitleBytes - 1) +
                           " fit before its NUL");
    }
    if (title.find('\0') != std::string::npos) {
      Refuse("header", std::string(which) + " contains a NUL byte");
    }
    Bytes(at, title.data(), static_cast<uint32_t>(title.size()));
  }

  // The field at `at` will hold the offset of `text`; none stays 0.
  void Text(uint32_t at, const course_model::Text& text, const std::string& where,
            const char* field) {
    if (text.IsNone()) return;
    if (text.Bytes().find('\0') != std::string::npos) {
      Refuse(where, std::string(field) + " contains a NUL byte, which would cut it short");
    }
    references_.emplace_back(at, text.Bytes());
  }

  std::vector<uint8_t> Finish() {
    std::map<std::string, uint32_t> placed;
    for (const auto& [field, text] : references_) {
      auto found = placed.find(text);
      if (found == placed.end()) {
        found = placed.emplace(text, Here()).first;
        bytes_.insert(bytes_.end(), text.begin(), text.end());
        bytes_.push_back(0);
      }
      Int(field, static_cast<int32_t>(found->second));
    }
    return std::move(bytes_);
  }

 private:
  std::vector<uint8_t> bytes_;
  std::vector<std::pair<uint32_t, std::string>> references_;
};

void PutBox(ImageBuilder& out, uint32_t record, uint32_t first, const Box& box) {
  out.Int(record + first, box.lat_min);
  out.Int(record + first + 4, box.lat_max);
  out.Int(record + first + 8, box.lon_min);
  out.Int(record + first + 12, box.lon_max);
}

void PutStartGate(ImageBuilder& out, const StartGate& g) {
  uint32_t at = out.AddRecord(kStartGate);
  PutBox(out, at, start_gate::kLatMin, g.box);
  out.Int(at + start_gate::kAltCentre, g.alt_centre);
  out.Int(at + start_gate::kAltBand, g.alt_band);
  out.Int(at + start_gate::kSpeedMin, g.speed_min);
  out.Int(at + start_gate::kSpeedMax, g.speed_max);
  out.Int(at + start_gate::kHeading, g.heading);
}

// Writes one leg record; `where` names it in a refusal.
struct LegRecordWriter {
  ImageBuilder& out;
  const std::string& where;

  void operator()(const Message& r) const {
    uint32_t at = out.AddRecord(kMessageRecord);
    out.Int(at + message_record::kSeconds, r.seconds);
    out.Text(at + message_record::kText, r.text, where, "text");
    out.Text(at + message_record::kVoice, r.voice, where, "voice");
  }

  void operator()(const Gate& r) const {
    uint32_t at = out.AddRecord(kGate);
    PutBox(out, at, gate::kLatMin, r.box);
    out.Int(at + gate::kAltCentre, r.alt_centre);
    out.Int(at + gate::kAltBand, r.alt_band);
    out.Int(at + gate::kSpeedMin, r.speed_min);
    out.Int(at + gate::kSpeedMax, r.speed_max);
    out.Int(at + gate::kHeading, r.heading);
    out.Text(at + gate::kWarningText, r.warning_text, where, "warning text");
    out.Text(at + gate::kWarningVoice, r.warning_voice, where, "warning voice");
  }

  void operator()(const Waypoint& r) const {
    uint32_t at = out.AddRecord(kWaypoint);
    out.Int(at + waypoint::kLat, r.lat);
    out.Int(at + waypoint::kLon, r.lon);
    out.Int(at + waypoint::kRadius, r.radius);
    out.Int(at + waypoint::kAlt, r.alt);
    out.Int(at + waypoint::kAltBand, r.alt_band);
    out.Int(at + waypoint::kHeading, r.heading);
    out.Text(at + waypoint::kWarningText, r.warning_text, where, "warning text");
    out.Text(at + waypoint::kWarningVoice, r.warning_voice, where, "warning voice");
  }

  void operator()(const Landing& r) const {
    uint32_t at = out.AddRecord(kLanding);
    PutBox(out, at, landing::kLatMin, r.box);
    out.Int(at + landing::kAlt, r.alt);
    out.Int(at + landing::kHeading, r.heading);
    out.Text(at + landing::kWarningText, r.warning_text, where, "warning text");
    out.Text(at + landing::kWarningVoice, r.warning_voice, where, "warning voice");
  }

  // Selectors 0, 1 and 2 pick a near zone of 1852 m, 926 m or 10 m; any
  // other keeps the previous track's, which the checker points out.
  void operator()(const TrackStart& r) const {
    uint32_t at = out.AddRecord(kTrackStart);
    out.Int(at + track_start::kLat, r.lat);
    out.Int(at + track_start::kLon, r.lon);
    out.Int(at + track_start::kRadial, r.radial);
    out.Int(at + track_start::kTolerance, r.tolerance);
    out.Int(at + track_start::kWeight, r.weight);
    out.Int(at + track_start::kNearZone, r.near_zone);
  }

  void operator()(const TrackEnd&) const { out.AddRecord(kTrackEnd); }

  // A name slot outside 0 to 19 still scores; only its name is not kept.
  void operator()(const Collectible& r) const {
    uint32_t at = out.AddRecord(kCollectible);
    out.Int(at + collectible::kNameSlot, r.name_slot);
    out.Int(at + collectible::kPoints, r.points);
    out.Text(at + collectible::kName, r.name, where, "name");
  }

  void operator()(const QuizTimer& r) const {
    uint32_t at = out.AddRecord(kQuizTimer);
    out.Int(at + quiz_timer::kDelay, r.delay);
  }
};

void PutLegEnd(ImageBuilder& out, const LegEnd& e) {
  uint32_t at = out.AddRecord(kLegEnd);
  out.Int(at + leg_end::kBasePoints, e.base_points);
  out.Int(at + leg_end::kTimeAllowance, e.time_allowance);
  out.Int(at + leg_end::kTimeFactor, e.time_factor);
}

// Writes the leg's stream and returns the offset of its StartGate.
uint32_t PutLeg(ImageBuilder& out, const Leg& leg, size_t index) {
  uint32_t start = out.Here();
  PutStartGate(out, leg.start);
  for (size_t r = 0; r < leg.records.size(); ++r) {
    const LegRecord& record = leg.records[r];
    std::string where = RecordPlace(index, r, LegRecordName(record));
    std::visit(LegRecordWriter{out, where}, record);
  }
  PutLegEnd(out, leg.end);
  return start;
}

void PutBonusBox(ImageBuilder& out, uint32_t at, uint32_t half, uint32_t conditions,
                 const BonusBox& box) {
  out.Int(at + half, box.half_lat);
  out.Int(at + half + 4, box.half_lon);
  out.Int(at + half + 8, box.half_alt);
  out.Int(at + conditions, box.conditions);
}

uint32_t PutBonusObject(ImageBuilder& out, const BonusObject& b, size_t index) {
  CheckSlot("bonus object " + std::to_string(index + 1), "take-counter slot", b.counter_slot);
  uint32_t at = out.AddRecord(kBonusObject);
  out.Int(at + bonus_object::kLat, b.lat);
  out.Int(at + bonus_object::kLon, b.lon);
  out.Int(at + bonus_object::kAlt, b.alt);
  PutBonusBox(out, at, bonus_object::kOuterHalf, bonus_object::kOuterConditions, b.outer);
  PutBonusBox(out, at, bonus_object::kMiddleHalf, bonus_object::kMiddleConditions, b.middle);
  PutBonusBox(out, at, bonus_object::kInnerHalf, bonus_object::kInnerConditions, b.inner);
  out.Int(at + bonus_object::kFlags, b.flags);
  out.Int(at + bonus_object::kCounterSlot, b.counter_slot);
  out.Int(at + bonus_object::kMaxTakes, b.max_takes);
  out.Int(at + bonus_object::kAlternativePercent, b.alternative_percent);
  out.Int(at + bonus_object::kAlternativeValue, b.alternative_value);
  out.Int(at + bonus_object::kNormalValue, b.normal_value);
  return at;
}

void PutQuestion(ImageBuilder& out, uint32_t at, const QuizQuestion& q, size_t index) {
  std::string where = "quiz question " + std::to_string(index + 1);
  out.Text(at + quiz_question::kQuestion, q.question, where, "question");
  out.Text(at + quiz_question::kCorrectAnswer, q.correct, where, "correct answer");
  out.Text(at + quiz_question::kSecondAnswer, q.second, where, "second answer");
  out.Text(at + quiz_question::kThirdAnswer, q.third, where, "third answer");
  out.Int(at + quiz_question::kPoints, q.points);
}

void CheckCounts(const Course& course) {
  if (course.legs.size() > static_cast<size_t>(kMaxLegs)) {
    Refuse("header", std::to_string(course.legs.size()) + " legs, but a course holds at most " +
                         std::to_string(kMaxLegs));
  }
  if (course.leg_count && (*course.leg_count < 0 || *course.leg_count > kMaxLegs)) {
    Refuse("header", "leg count " + std::to_string(*course.leg_count) + " is outside 0 to " +
                         std::to_string(kMaxLegs));
  }
  if (course.questions.size() > static_cast<size_t>(kMaxQuestions)) {
    Refuse("header", std::to_string(course.questions.size()) +
                         " quiz questions, but a course holds at most " +
                         std::to_string(kMaxQuestions));
  }
}

// Every leg and bonus object once, and every leg at an index that has a
// score record.
void CheckEntryOrder(const Course& course, const std::vector<EntrySlot>& order) {
  std::vector<int> legs(course.legs.size()), bonus(course.bonus_objects.size());
  for (size_t i = 0; i < order.size(); ++i) {
    const EntrySlot& slot = order[i];
    if (slot.kind == EntrySlot::kIgnored) continue;
    std::vector<int>& seen = slot.kind == EntrySlot::kLeg ? legs : bonus;
    const char* what = slot.kind == EntrySlot::kLeg ? "leg " : "bonus object ";
    if (slot.index >= seen.size()) {
      Refuse("entry order", std::string(what) + std::to_string(slot.index + 1) + " does not exist");
    }
    if (++seen[slot.index] > 1) {
      Refuse("entry order",
             std::string(what) + std::to_string(slot.index + 1) + " is listed twice");
    }
    if (slot.kind == EntrySlot::kLeg && i >= static_cast<size_t>(kMaxLegs)) {
      Refuse("entry order", "leg " + std::to_string(slot.index + 1) + " at entry " +
                                std::to_string(i + 1) + ": only entries 1 to " +
                                std::to_string(kMaxLegs) + " have a score record");
    }
  }
  for (const std::vector<int>* seen : {&legs, &bonus}) {
    for (size_t i = 0; i < seen->size(); ++i) {
      if ((*seen)[i] == 0) {
        Refuse("entry order", std::string(seen == &legs ? "leg " : "bonus object ") +
                                  std::to_string(i + 1) + " is not listed");
      }
    }
  }
}

void PutHeader(ImageBuilder& out, const Course& course, uint32_t entries) {
  out.Reserve(kHeaderBytes);
  out.Bytes(0, kMagic, kMagicBytes);  // bytes 11 to 15 stay 0
  out.Title(kFirstTitle, course.first_title, "first title");
  out.Title(kSecondTitle, course.second_title, "second title");
  out.Int(kEntryCount, static_cast<int32_t>(entries));
  out.Int(kLegCount, course.leg_count.value_or(static_cast<int32_t>(course.legs.size())));
  out.Int(kQuestionCount, static_cast<int32_t>(course.questions.size()));
}

}  // namespace

std::vector<uint8_t> LayOutCourse(const Course& course) {
  CheckCounts(course);
  std::vector<EntrySlot> order = EntryOrder(course);
  CheckEntryOrder(course, order);
  uint32_t entries = static_cast<uint32_t>(order.size());
  ImageBuilder out;
  PutHeader(out, course, entries);
  out.Reserve(4 * entries);
  std::vector<uint32_t> legs, bonus;
  for (size_t i = 0; i < course.legs.size(); ++i) legs.push_back(PutLeg(out, course.legs[i], i));
  for (size_t i = 0; i < course.bonus_objects.size(); ++i) {
    bonus.push_back(PutBonusObject(out, course.bonus_objects[i], i));
  }
  for (uint32_t entry = 0; entry < entries; ++entry) {
    const EntrySlot& slot = order[entry];
    uint32_t at;
    if (slot.kind == EntrySlot::kLeg) {
      at = legs[slot.index];
    } else if (slot.kind == EntrySlot::kBonusObject) {
      at = bonus[slot.index];
    } else {
      at = out.Here();  // a word of type 0, which the entry scan passes over
      out.Reserve(4);
    }
    out.Int(kEntryTable + 4 * entry, static_cast<int32_t>(at));
  }
  // Without questions the quiz table offset stays 0: there is no table.
  if (!course.questions.empty()) {
    uint32_t table = out.Here();
    out.Int(kQuizTableOffset, static_cast<int32_t>(table));
    out.Reserve(quiz_question::kBytes * static_cast<uint32_t>(course.questions.size()));
    for (size_t i = 0; i < course.questions.size(); ++i) {
      PutQuestion(out, table + quiz_question::kBytes * static_cast<uint32_t>(i),
                  course.questions[i], i);
    }
  }
  return out.Finish();
}

std::vector<uint8_t> EncodeCourseFile(const Course& course) {
  std::vector<uint8_t> bytes = LayOutCourse(course);
  ScrambleWords(bytes.data(), static_cast<uint32_t>(bytes.size()));
  return bytes;
}

bool WriteCourseFile(const std::string& path, const Course& course) {
  std::vector<uint8_t> bytes = EncodeCourseFile(course);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  // A failed close can mean the data never reached the disk.
  bool closed = std::fclose(file) == 0;
  return written && closed;
}
