// The module's texts in both transcripts of aerilon-sim: code page 1252
// as UTF-8, and in the human one every control character escaped, so that
// a course cannot act on the terminal that shows its run.
#include <gtest/gtest.h>

#include <sstream>

#include "tools/aerilon-sim/human_transcript.h"
#include "tools/aerilon-sim/json_transcript.h"

namespace {

struct Case {
  SimCall call;
  const char* json;   // the whole JSON line
  const char* human;  // part of the human lines
};

SimCall Call(const char* op, std::vector<int64_t> args, const char* text,
             std::vector<SimControlText> controls = {}) {
  return SimCall{7, op, std::move(args), text, 0, {}, std::move(controls)};
}

TEST(TranscriptTexts, ConvertTheCodePageAndEscapeControlCharacters) {
  const Case cases[] = {
      {Call("show_text", {0, 72}, "\x1B]0;owned\x07 l\x92isola \x80\x81"),
       "{\"tick\":7,\"call\":\"show_text\",\"text\":\"\\u001b]0;owned\\u0007 l’isola €\xC2\x81\","
       "\"duration\":72}",
       "SCREEN \"\\x1B]0;owned\\x07 l’isola €\\x81\" for 4 s"},
      {Call("load_sound", {0, 3, 0}, "ADV\\RALLY\\Citt\xE0\x9B"),
       "{\"tick\":7,\"call\":\"load_sound\",\"name\":\"ADV\\\\RALLY\\\\Città›\",\"handle\":3,"
       "\"loaded\":true}",
       "VOICE  loads ADV\\RALLY\\Città› (handle 3)"},
      {Call("dialog", {102, 1}, "", {{1044, "Quota\t\x1B[5m300\r\nl\x92isola\x9D"}}),
       "{\"tick\":7,\"call\":\"dialog\",\"id\":102,\"controls\":[{\"id\":1044,\"text\":"
       "\"Quota\\t\\u001b[5m300\\r\\nl’isola\xC2\x9D\"}],\"disabled\":[],\"result\":1}",
       "| 1044  Quota   \\x1B[5m300 |\n                   |       l’isola\\x9D"},
  };
  for (const Case& c : cases) {
    std::optional<TranscriptLine> line = ObservedCallLine(c.call, TranscriptNames{});
    ASSERT_TRUE(line) << c.call.op;
    std::ostringstream json, human;
    WriteJsonLine(json, *line);
    WriteHumanLine(human, *line);
    EXPECT_EQ(json.str(), std::string(c.json) + "\n");
    EXPECT_NE(human.str().find(c.human), std::string::npos) << human.str();
    for (unsigned char byte : human.str()) {
      EXPECT_TRUE(byte == '\n' || (byte >= 0x20 && byte != 0x7F)) << human.str();
    }
  }
}

}  // namespace
