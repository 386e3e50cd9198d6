#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "course_model/course_reader.h"
#include "course_model/course_writer.h"
#include "examples/compiled_sample_course.h"
#include "tests/support/course_test_support.h"
#include "tests/support/module_test_support.h"
#include "tools/aerilon-course/source/source_reader.h"
#include "tools/aerilon-course/source/source_writer.h"
#include "tools/aerilon-sim/run_loop.h"

namespace {

using namespace course_model;
using course_test::Bytes;

// Decompiles a plain image and compiles the source again.
Bytes RoundTrip(const Bytes& image, std::string* source = nullptr) {
  std::string text =
      WriteCourseSource(ReadCourseImage(image.data(), static_cast<uint32_t>(image.size())), "test");
  if (source != nullptr) *source = text;
  CourseDocument document;
  std::vector<Diagnostic> diagnostics;
  if (!ReadCourseSource(text, "decompiled.toml", &document, &diagnostics)) {
    for (const Diagnostic& d : diagnostics) ADD_FAILURE() << FormatDiagnostic(d);
    return {};
  }
  return LayOutCourse(document.course);
}

// Courses of every record type with values drawn over each field's whole
// range, texts with quotes, backslashes, control and code-page bytes, and
// entry tables in any order.
class RandomCourses {
 public:
  explicit RandomCourses(uint32_t seed) : random_(seed) {}

  Course Next() {
    Course c;
    c.first_title = Word(47);
    c.second_title = Word(47);
    for (int i = Pick(0, 3); i > 0; --i) c.legs.push_back(RandomLeg());
    for (int i = Pick(0, 2); i > 0; --i) c.bonus_objects.push_back(RandomBonus());
    for (int i = Pick(0, 4); i > 0; --i) {
      c.questions.push_back({Text(), Text(), Text(), Text(), Any()});
    }
    if (Pick(0, 3) == 0) c.leg_count = Pick(0, 20);
    if (Pick(0, 2) == 0) Shuffle(c);
    return c;
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  int32_t Any() {
    switch (Pick(0, 3)) {
      case 0: return static_cast<int32_t>(random_());
      case 1: return Pick(-70000, 70000);
      case 2: return Pick(0, 65536);
      default: return Pick(0, 1) ? INT32_MIN : INT32_MAX;
    }
  }
  std::string Word(size_t most) {
    static const char kBytes[] = "aZ \"\\'\t\x01\x7F\x80\x81\x9D\xE8\xFF.";
    std::string w;
    for (size_t n = static_cast<size_t>(Pick(0, static_cast<int>(most))); n > 0; --n) {
      w += kBytes[Pick(0, sizeof kBytes - 2)];
    }
    return w;
  }
  course_model::Text Text() {
    int kind = Pick(0, 3);
    if (kind == 0) return {};
    if (kind == 1) return course_model::Text::Empty();
    return Word(30) + "x";
  }
  Box RandomBox() { return Box{Any(), Any(), Any(), Any()}; }
  LegRecord RandomRecord() {
    switch (Pick(0, 7)) {
      case 0: return Message{Any(), Text(), Text()};
      case 1: return Gate{RandomBox(), Any(), Any(), Any(), Any(), Any(), Text(), Text()};
      case 2: return Waypoint{Any(), Any(), Any(), Any(), Any(), Any(), Text(), Text()};
      case 3: return Landing{RandomBox(), Any(), Any(), Text(), Text()};
      case 4: return TrackStart{Any(), Any(), Any(), Any(), Any(), Pick(-1, 4)};
      case 5: return TrackEnd{};
      case 6: return Collectible{Any(), Any(), Text()};
      default: return QuizTimer{Any()};
    }
  }
  Leg RandomLeg() {
    Leg leg{StartGate{RandomBox(), Any(), Any(), Any(), Any(), Any()}, {}, {Any(), Any(), Any()}};
    for (int i = Pick(0, 8); i > 0; --i) leg.records.push_back(RandomRecord());
    return leg;
  }
  BonusBox RandomBonusBox() {
    return BonusBox{Any(), Any(), Any(), Pick(0, 1) ? Pick(0, 15) : Any()};
  }
  BonusObject RandomBonus() {
    return BonusObject{Any(),
                       Any(),
                       Any(),
                       RandomBonusBox(),
                       RandomBonusBox(),
                       RandomBonusBox(),
                       Pick(0, 1) ? static_cast<int32_t>(0xFFFFFFC0u) : Any(),
                       Pick(0, 19),
                       Any(),
                       Any(),
                       Any(),
                       Any()};
  }
  // Legs first stay within entries 1 to 20; bonus objects and ignored
  // entries go anywhere after them or between them.
  void Shuffle(Course& c) {
    c.entry_order = EntryOrder(c);
    for (int i = Pick(0, 2); i > 0; --i) c.entry_order.push_back({EntrySlot::kIgnored, 0});
    std::shuffle(c.entry_order.begin(), c.entry_order.end(), random_);
  }

  std::mt19937 random_;
};

TEST(CourseRoundTrip, DecompilingAndCompilingAWrittenCourseGivesTheSameBytes) {
  Bytes sample = SampleCourseFile();
  UnscrambleWords(sample.data(), static_cast<uint32_t>(sample.size()));
  EXPECT_EQ(RoundTrip(sample), sample);

  RandomCourses courses(1998);
  int made = 0, identical = 0;
  for (int i = 0; i < 400; ++i) {
    Course course = courses.Next();
    Bytes image;
    try {
      image = LayOutCourse(course);
    } catch (const std::invalid_argument&) {
      continue;  // a shuffle put a leg past entry 20
    }
    ++made;
    ASSERT_EQ(course_test::Problem(image), CourseProblem::kNone);
    std::string source;
    Bytes again = RoundTrip(image, &source);
    identical += again == image;
    if (again != image) {
      size_t at = 0;
      while (at < again.size() && at < image.size() && again[at] == image[at]) ++at;
      ADD_FAILURE() << "course " << i << ": the bytes differ from offset " << at << " (of "
                    << image.size() << " and " << again.size() << ")\n"
                    << source;
      break;
    }
  }
  EXPECT_GT(made, 350);
  EXPECT_EQ(identical, made);
}

// An image the writer would not make: header bytes 11 to 15, reserved
// fields and title padding set, a text that starts inside another one,
// trailing bytes, and two entries sharing one leg. Its decompiled course
// differs in bytes but flies the same.
TEST(CourseRoundTrip, AForeignImageFliesTheSameAfterDecompilingAndCompiling) {
  Bytes image = SampleCourseFile();
  UnscrambleWords(image.data(), static_cast<uint32_t>(image.size()));
  using course_test::SetWord;
  using course_test::Word;
  for (uint32_t at = 11; at < 16; ++at) image[at] = 0x5A;
  image[course::kFirstTitle + 40] = 'x';
  uint32_t leg = static_cast<uint32_t>(Word(image, course::kEntryTable));
  uint32_t gate = leg + 40 + 16;
  SetWord(image, gate + course::gate::kReserved, 77);
  SetWord(image, gate + course::gate::kWarningText,
          Word(image, gate + course::gate::kWarningText) + 6);
  image.insert(image.end(), {1, 2, 3});
  // The third entry, the balloon's, becomes the first leg again.
  SetWord(image, course::kEntryTable + 8, static_cast<int32_t>(leg));
  ASSERT_EQ(course_test::Problem(image), CourseProblem::kNone);
  Bytes again = RoundTrip(image);
  ASSERT_NE(again, image);
  auto fly = [](Bytes plain) {
    ScrambleWords(plain.data(), static_cast<uint32_t>(plain.size()));
    TempSimFolder folder;
    folder.WriteBytes("Rally.DAT", plain);
    RunSetup setup;
    setup.root = folder.root.string();
    setup.seed = 1998;
    std::string flight =
        "{\"tick\":1,\"command\":\"position:1\"}\n{\"tick\":2,\"command\":\"enter\"}\n"
        "{\"tick\":3,\"state\":{\"lat\":2931187,\"lon\":2034296886,\"alt\":300,"
        "\"speed\":12800,\"heading\":49152,\"on_ground\":false}}\n"
        "{\"tick\":40,\"state\":{\"lat\":2935187,\"lon\":2034212886,\"alt\":600}}\n"
        "{\"tick\":200,\"end\":true}\n";
    EXPECT_FALSE(ParseFlightScript(flight, setup.flight));
    std::vector<TranscriptLine> lines;
    RunFlight(setup, [&](const TranscriptLine& line) { lines.push_back(line); });
    return lines;
  };
  std::vector<TranscriptLine> original = fly(image), compiled = fly(again);
  EXPECT_EQ(original, compiled);
  EXPECT_GT(original.size(), 10u) << "the flight starts the leg and meets the gate's warning";
}

}  // namespace
