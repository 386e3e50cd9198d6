#include "tools/aerilon-sim/flight_script.h"

#include <gtest/gtest.h>

namespace {

FlightScript Parsed(const std::string& text) {
  FlightScript script;
  std::optional<FlightScriptError> error = ParseFlightScript(text, script);
  EXPECT_FALSE(error) << (error ? error->message : "");
  return script;
}

// The error of a script that has one, as "line: message".
std::string ErrorOf(const std::string& text) {
  FlightScript script;
  std::optional<FlightScriptError> error = ParseFlightScript(text, script);
  if (!error) return "no error";
  EXPECT_TRUE(script.lines.empty()) << "a bad script leaves nothing to run";
  return std::to_string(error->line_number) + ": " + error->message;
}

TEST(FlightScript, EveryKindOfLine) {
  FlightScript s =
      Parsed(R"({"tick":1,"state":{"lat":"0x002CB9F3","lon":2034597910,"alt":300,"speed":12800,)"
             R"("heading":49152,"on_ground":false,"crashed":0,"slew":true,"pause":0,"suspend":1,)"
             R"("condition":2,"magvar":"0xFF00"}})"
             "\n"
             R"({"tick":1,"command":"enter"})"
             "\n\n"
             R"({"tick":2,"command":"position:8"})"
             "\n"
             R"({"tick":2,"event":"0x1013C"})"
             "\n"
             R"({"tick":3,"answer":{"quiz":3,"summary":"exit"}})"
             "\n"
             R"({"tick":3,"answer":{"summary":"ok"}})"
             "\n"
             R"({"tick":9,"end":true})"
             "\n");
  ASSERT_EQ(s.lines.size(), 7u);
  const FlightLine& state = s.lines[0];
  EXPECT_EQ(state.action, FlightAction::kState);
  EXPECT_EQ(state.state.latitude, 0x002CB9F3);
  EXPECT_EQ(state.state.longitude, 2034597910u);
  EXPECT_EQ(state.state.altitude, 300);
  EXPECT_EQ(state.state.speed, 12800);
  EXPECT_EQ(state.state.heading, 49152);
  EXPECT_EQ(state.state.on_ground, 0);
  EXPECT_EQ(state.state.slew, 1);
  EXPECT_EQ(state.state.suspend, 1);
  EXPECT_EQ(state.state.condition, 2);
  EXPECT_EQ(state.state.magnetic_variation, 0xFF00);
  EXPECT_EQ(s.lines[1].slot, 0u);
  EXPECT_EQ(s.lines[2].line_number, 4) << "blank lines still count";
  EXPECT_EQ(s.lines[2].slot, 13u);
  EXPECT_EQ(s.lines[3].action, FlightAction::kEvent);
  EXPECT_EQ(s.lines[3].event_id, 0x1013Cu);
  EXPECT_EQ(s.lines[4].answer.quiz_slot, 3);
  EXPECT_EQ(s.lines[4].answer.summary, SimSummaryButton::kExit);
  EXPECT_FALSE(s.lines[5].answer.quiz_slot) << "an answer line changes only what it names";
  EXPECT_EQ(s.lines[6].action, FlightAction::kEnd);
  EXPECT_EQ(s.TicksToRun(), 8) << "the end's own tick is not run";
}

TEST(FlightScript, WithoutAnEndTheLastNamedTickRuns) {
  EXPECT_EQ(Parsed("{\"tick\":5,\"command\":\"enter\"}\n{\"tick\":40,\"state\":{}}").TicksToRun(),
            40);
  EXPECT_EQ(Parsed("").TicksToRun(), 0);
  EXPECT_EQ(IdleFlight(30).TicksToRun(), 30);
}

TEST(FlightScript, BadLinesAreNamedByNumber) {
  const std::string good = "{\"tick\":1,\"command\":\"enter\"}\n";
  EXPECT_EQ(ErrorOf(good + "{\"tick\":2,\"command\":\"enter\"\n").substr(0, 17),
            "2: not valid JSON");
  EXPECT_EQ(ErrorOf(good + good + "[1,2]"), "3: a line must be one JSON object");
  EXPECT_EQ(ErrorOf("{\"tick\":1,\"comand\":\"enter\"}"),
            "1: unknown field \"comand\" (known: tick, state, fly, command, event, answer, end)");
  EXPECT_EQ(ErrorOf("{\"tick\":1,\"\\u001b]0;owned\\u0007\":1}"),
            "1: unknown field \"\\x1B]0;owned\\x07\" (known: tick, state, fly, command, event, "
            "answer, end)");
  EXPECT_EQ(ErrorOf("{\"tick\":1,\"state\":{\"altitude\":3}}").substr(0, 36),
            "1: \"state\": unknown field \"altitude\"");
  EXPECT_EQ(ErrorOf("{\"tick\":1,\"tick\":2,\"end\":true}"), "1: field \"tick\" is given twice");
  EXPECT_EQ(ErrorOf("{\"tick\":1,\"state\":{\"alt\":1,\"alt\":2}}"),
            "1: field \"alt\" is given twice");
  EXPECT_EQ(ErrorOf("{\"command\":\"enter\"}"),
            "1: no \"tick\": every line says before which tick it acts");
  EXPECT_EQ(ErrorOf("{\"tick\":1}"),
            "1: nothing to do: give one of state, fly, command, event, answer or end");
  EXPECT_EQ(ErrorOf("{\"tick\":1,\"command\":\"enter\",\"event\":5}"),
            "1: a line does one thing; this one has both \"command\" and \"event\"");
}

TEST(FlightScript, ValuesOutOfTheirRange) {
  EXPECT_EQ(ErrorOf("{\"tick\":0,\"end\":true}"),
            "1: \"tick\" must be a whole number from 1 to 2147483647, not 0");
  EXPECT_EQ(ErrorOf("{\"tick\":1.5,\"end\":true}"),
            "1: \"tick\" must be a whole number from 1 to 2147483647, not 1.5");
  EXPECT_EQ(ErrorOf("{\"tick\":1,\"state\":{\"heading\":65536}}"),
            "1: \"state\".\"heading\" must be a 16-bit angle, 0 to 65535, not 65536");
  EXPECT_EQ(ErrorOf("{\"tick\":1,\"state\":{\"lat\":\"12abc\"}}"),
            "1: \"state\".\"lat\" must be a 32-bit latitude word, not \"12abc\"");
  EXPECT_EQ(ErrorOf("{\"tick\":1,\"state\":{\"lon\":4294967296}}"),
            "1: \"state\".\"lon\" must be a 32-bit longitude word, not 4294967296");
  EXPECT_EQ(Parsed("{\"tick\":1,\"state\":{\"lon\":-1,\"alt\":\"010\"}}").lines[0].state.longitude,
            0xFFFFFFFFu);
  EXPECT_EQ(Parsed("{\"tick\":1,\"state\":{\"alt\":\"010\"}}").lines[0].state.altitude, 10)
      << "a leading zero is not octal";
  EXPECT_EQ(
      ErrorOf("{\"tick\":1,\"state\":{\"suspend\":256}}"),
      "1: \"state\".\"suspend\" must be true, false or a whole number from 0 to 255, not 256");
  EXPECT_EQ(ErrorOf("{\"tick\":1,\"answer\":{\"quiz\":4}}"),
            "1: \"answer\".\"quiz\" must be the radio slot 1, 2 or 3, not 4");
  EXPECT_EQ(ErrorOf("{\"tick\":1,\"answer\":{\"summary\":\"cancel\"}}"),
            "1: \"answer\".\"summary\" must be \"ok\" or \"exit\", not \"cancel\"");
  EXPECT_EQ(ErrorOf("{\"tick\":1,\"answer\":{\"button\":1}}"),
            "1: \"answer\": unknown field \"button\" (known: quiz, summary)");
  EXPECT_EQ(ErrorOf("{\"tick\":1,\"end\":false}"), "1: \"end\" must be true");
  EXPECT_EQ(ErrorOf("{\"tick\":1,\"event\":-1}"), "1: \"event\" must be a 32-bit event id, not -1");
  EXPECT_EQ(ErrorOf("{\"tick\":1e999,\"end\":true}"), "1: a number too large to read");
}

TEST(FlightScript, UnknownCommandsAreRefused) {
  for (const char* command : {"position:0", "position:9", "position:", "Enter", "7"}) {
    std::string line = std::string("{\"tick\":1,\"command\":\"") + command + "\"}";
    EXPECT_EQ(ErrorOf(line).substr(0, 19), "1: unknown command ") << command;
  }
}

TEST(FlightScript, TickOrderAndTheEnd) {
  EXPECT_EQ(ErrorOf("{\"tick\":9,\"command\":\"enter\"}\n{\"tick\":5,\"command\":\"enter\"}"),
            "2: tick 5 comes after tick 9 (line 1); lines must be in tick order");
  EXPECT_EQ(ErrorOf("{\"tick\":9,\"end\":true}\n{\"tick\":9,\"command\":\"enter\"}"),
            "2: the flight has already ended (line 1); nothing after it would run");
  EXPECT_EQ(Parsed("{\"tick\":9,\"command\":\"enter\"}\n{\"tick\":9,\"end\":true}").lines.size(),
            2u)
      << "lines of one tick may share it";
}

TEST(FlightScript, MenuSlotNamesGoBothWays) {
  for (uint32_t slot = 0; slot <= 13; ++slot) {
    uint32_t back = 99;
    ASSERT_TRUE(MenuSlotFromName(MenuSlotName(slot), &back)) << slot;
    EXPECT_EQ(back, slot);
  }
  uint32_t slot = 0;
  EXPECT_TRUE(MenuSlotFromName("position:1", &slot));
  EXPECT_EQ(slot, 6u);
  EXPECT_TRUE(MenuSlotFromName("quiz", &slot));
  EXPECT_EQ(slot, 5u);
}

}  // namespace

namespace {

// "fly" lines in the course source's units; between two that give a
// position the aircraft moves one step a tick along the line, heading
// along it, its altitude turning into the next line's.
TEST(FlightScript, FlyLinesMoveTheAircraftBetweenThem) {
  FlightScript script = Parsed(
      R"({"tick":10,"fly":{"lat":"N26 22","lon":"E170 32","alt":"1000 ft","speed":"120 kt"}})"
      "\n"
      R"({"tick":15,"state":{"speed":6400}})"
      "\n"
      R"({"tick":20,"fly":{"lat":"N26 23","lon":"E170 32","alt":"300 m"}})"
      "\n"
      R"({"tick":24,"fly":{"lat":"N26 23","lon":"E170 33","heading":80}})");
  ASSERT_EQ(script.lines.size(), 16u) << "4 lines and 9 + 3 steps";
  const FlightLine& start = script.lines[0];
  const FlightLine& second = script.lines[11];
  EXPECT_EQ(second.tick, 20);
  EXPECT_EQ(*start.state.altitude, 305) << "1000 ft";
  EXPECT_EQ(*start.state.speed, 120 * 128);
  EXPECT_EQ(*start.state.heading, 0) << "turned along the line, due north";
  const FlightLine& half = script.lines[5];  // tick 15, half way
  EXPECT_EQ(half.tick, 15);
  EXPECT_EQ(half.line_number, 3) << "a step is the line it flies to";
  EXPECT_EQ(*half.state.latitude, (*start.state.latitude + *second.state.latitude) / 2);
  EXPECT_EQ(*half.state.longitude, *start.state.longitude);
  EXPECT_EQ(*half.state.altitude, (305 + 300) / 2 + 1) << "rounded";
  EXPECT_FALSE(half.state.speed) << "the speed holds";
  EXPECT_EQ(script.lines[6].line_number, 2) << "the file's line of the tick acts after the step";
  const FlightLine& east = script.lines[12];  // tick 21, towards the fourth line
  EXPECT_EQ(*east.state.heading, 14564) << "the line's own heading, 80 degrees";
  EXPECT_FALSE(east.state.altitude) << "level: the fourth line gives no altitude";
  EXPECT_GT(*east.state.longitude, *start.state.longitude);
  EXPECT_EQ(*second.state.heading, 14564) << "the second position turns towards the next";
}

TEST(FlightScript, FlyLinesRefuseWhatTheSourceRefuses) {
  const std::pair<const char*, const char*> cases[] = {
      {R"({"tick":1,"fly":{"lat":"N26 22"}})",
       "1: \"fly\": a position needs both \"lat\" and \"lon\""},
      {R"({"tick":1,"fly":{"alt":"300 fathoms"}})",
       "1: \"fly\".\"alt\" must be an altitude in feet, or a text such as \"300 m\" or \"1000 "
       "ft\", "
       "not \"300 fathoms\""},
      {R"({"tick":1,"fly":{"heading":"any"}})",
       "1: \"fly\".\"heading\" must be a radial in degrees from 0 to 360, not \"any\""},
      {R"({"tick":1,"fly":{"lat":"N91","lon":"E1"}})",
       "1: \"fly\".\"lat\" must be a latitude such as \"N26 22.5\" or decimal degrees within 90, "
       "not \"N91\""},
      {R"({"tick":1,"fly":{"crashed":true}})",
       "1: \"fly\": unknown field \"crashed\" (known: at, lat, lon, alt, speed, heading, "
       "on_ground)"},
  };
  for (const auto& [line, error] : cases) EXPECT_EQ(ErrorOf(line), error) << line;
  EXPECT_EQ(
      ErrorOf(R"({"tick":1,"fly":{"lat":"N1","lon":"E1"}})"
              "\n"
              R"({"tick":2000000,"fly":{"lat":"N2","lon":"E1"}})"),
      "2: the \"fly\" lines so far move the aircraft for 1999999 ticks; a flight moves for at "
      "most 1000000 (46 hours)");
}

}  // namespace

namespace {

// "at" names a place of the course source given with --course.
TEST(FlightScript, FlyLinesGoToTheSourcesPlaces) {
  const FlightPlaces places{{"Ralliest Base", {2931187, 2034596886u}}};
  FlightScript script;
  ASSERT_FALSE(ParseFlightScript(R"({"tick":1,"fly":{"at":"Ralliest Base","alt":"44 m"}})", script,
                                 &places));
  EXPECT_EQ(*script.lines[0].state.latitude, 2931187);
  EXPECT_EQ(*script.lines[0].state.longitude, 2034596886u);
  const std::pair<const char*, const char*> cases[] = {
      {R"({"tick":1,"fly":{"at":"Raliest Base"}})",
       "\"fly\".\"at\": the course has no place \"Raliest Base\" (did you mean \"Ralliest "
       "Base\"?)"},
      {R"({"tick":1,"fly":{"at":"Ralliest Base","lat":"N1"}})",
       "\"fly\": give a place (\"at\") or \"lat\" and \"lon\", not both"},
      {R"({"tick":1,"fly":{"at":7}})", "\"fly\".\"at\" must be the name of a place, not 7"},
  };
  for (const auto& [line, error] : cases) {
    std::optional<FlightScriptError> found = ParseFlightScript(line, script, &places);
    EXPECT_EQ(found ? found->message : "no error", error) << line;
  }
  EXPECT_EQ(
      ErrorOf(R"({"tick":1,"fly":{"at":"Ralliest Base"}})"),
      "1: \"fly\".\"at\" names a place of a course source: give the source (--course SOURCE)");
}

}  // namespace
