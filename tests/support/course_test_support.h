#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "common/little_endian.h"
#include "course_model/course.h"
#include "rally/course/course_check.h"
#include "rally/course/course_format.h"
#include "rally/course/score_table.h"
#include "rally/course/scramble.h"
#include "rally/host/platform.h"
#include "rally/host/stdio_platform.h"
#include "tests/support/counting_heap.h"
#include "tests/support/temp_sim_folder.h"

// Courses, images, score files and a counting heap for the course and
// score tests.
namespace course_test {

using Bytes = std::vector<uint8_t>;

// Word access that throws, rather than reads past the end, on a bad offset.
inline int32_t Word(const Bytes& image, uint32_t at) {
  (void)image.at(at + 3);
  return load_i32le(image.data() + at);
}
inline void SetWord(Bytes& image, uint32_t at, int32_t value) {
  (void)image.at(at + 3);
  store_i32le(image.data() + at, value);
}
inline std::string TextAt(const Bytes& image, int32_t offset) {
  return std::string(reinterpret_cast<const char*>(&image.at(static_cast<uint32_t>(offset))));
}

inline CourseProblem Problem(const Bytes& image) {
  return CheckCourseImage(image.data(), static_cast<uint32_t>(image.size())).problem;
}

// One leg holding a start gate and its LegEnd only; no texts, no quiz.
inline course_model::Course BareCourse() {
  course_model::Course c;
  c.first_title = "Bare";
  c.legs.push_back(course_model::Leg{{{1, 2, 3, 4}, 300, 100, 0, 99999, 65536}, {}, {1, 2, 3}});
  return c;
}

// A course with every kind of record, text, slot and a quiz question.
inline course_model::Course FullCourse() {
  using namespace course_model;
  Course c;
  c.first_title = "Primo";
  c.second_title = "Secondo";
  Leg leg{{{10, 20, 30, 40}, 300, 100, 7680, 25600, 49152}, {}, {500, 900, 2}};
  leg.records = {
      Message{8, "Benvenuti", "ADV\\RALLY\\Start"},
      Gate{{11, 21, 31, 41}, 400, 150, 10240, 23040, 0, "Porta mancata", "ADV\\RALLY\\Gate"},
      Waypoint{50, 60, 500, 450, 200, 65536, "Punto mancato", "ADV\\RALLY\\Point"},
      TrackStart{70, 80, 32768, 1820, 10, 1},
      TrackEnd{},
      Collectible{19, 50, "Faro"},
      QuizTimer{20},
      Landing{{12, 22, 32, 42}, 44, 0, "Atterrate", "ADV\\RALLY\\Land"},
  };
  c.legs = {leg, leg};
  BonusObject b{};
  b.counter_slot = 0;
  b.max_takes = 3;
  c.bonus_objects = {b};
  c.questions = {{"Domanda?", "Giusta", "Seconda", "Terza", 10}};
  return c;
}

inline uint32_t EntryOffset(const Bytes& image, int32_t index) {
  return static_cast<uint32_t>(Word(image, course::kEntryTable + 4 * index));
}

// Offsets of the records of leg `leg` (0-based), its StartGate first and
// its LegEnd last.
inline std::vector<uint32_t> LegRecords(const Bytes& image, int32_t leg) {
  std::vector<uint32_t> records;
  uint32_t at = EntryOffset(image, leg);
  for (;;) {
    records.push_back(at);
    int32_t type = Word(image, at);
    if (type == course::kLegEnd || course::RecordSize(type) == 0) return records;
    at += course::RecordSize(type);
  }
}

// The first record of the given type in a leg.
inline uint32_t FindRecord(const Bytes& image, int32_t leg, int32_t type) {
  for (uint32_t at : LegRecords(image, leg)) {
    if (Word(image, at) == type) return at;
  }
  throw std::runtime_error("no record of type " + std::to_string(type));
}

// Every field of the image that holds a text or voice offset.
inline std::vector<uint32_t> TextFields(const Bytes& image) {
  using namespace course;
  static const std::map<int32_t, std::vector<uint32_t>> kFields = {
      {kMessageRecord, {message_record::kText, message_record::kVoice}},
      {kGate, {gate::kWarningText, gate::kWarningVoice}},
      {kWaypoint, {waypoint::kWarningText, waypoint::kWarningVoice}},
      {kLanding, {landing::kWarningText, landing::kWarningVoice}},
      {kCollectible, {collectible::kName}},
  };
  std::vector<uint32_t> fields;
  for (int32_t leg = 0; leg < Word(image, kLegCount); ++leg) {
    for (uint32_t at : LegRecords(image, leg)) {
      auto found = kFields.find(Word(image, at));
      if (found == kFields.end()) continue;
      for (uint32_t field : found->second) fields.push_back(at + field);
    }
  }
  uint32_t quiz = static_cast<uint32_t>(Word(image, kQuizTableOffset));
  for (int32_t q = 0; q < Word(image, kQuestionCount); ++q) {
    for (uint32_t field = 0; field < quiz_question::kPoints; field += 4) {
      fields.push_back(quiz + quiz_question::kBytes * q + field);
    }
  }
  return fields;
}

// A score file as the module keeps it: the scrambled 728-byte block, then
// the names stored plain, each with its NUL.
inline Bytes ScoreFile(const std::map<uint32_t, int32_t>& words,
                       const std::vector<std::string>& names = {}) {
  Bytes bytes(score::kBlockBytes, 0);
  for (const auto& [word, value] : words) store_i32le(&bytes.at(4 * word), value);
  ScrambleWords(bytes.data(), score::kBlockBytes);
  for (const std::string& name : names) {
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.push_back(0);
  }
  return bytes;
}

}  // namespace course_test
