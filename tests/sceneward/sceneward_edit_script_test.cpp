#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "sceneward/base/status.h"
#include "sceneward/script/coordinates.h"
#include "sceneward/script/edit_script.h"
#include "tests/support/sceneward_fake_file_system.h"

namespace {

// A script read from text; the buffer stays alive with the parameters that
// point into it.
struct ParsedScript {
  std::unique_ptr<char[]> buffer;
  EditParameters edit;
  Diagnostic problem{};
  bool ok = false;
};

ParsedScript Parse(const std::string& text) {
  ParsedScript parsed;
  parsed.buffer.reset(new char[text.size() + 1]);
  std::memcpy(parsed.buffer.get(), text.c_str(), text.size() + 1);
  ResetEditParameters(parsed.edit);
  parsed.ok = ParseEditScriptText(parsed.buffer.get(), parsed.edit, &parsed.problem);
  return parsed;
}

void ExpectRefused(const std::string& text, int line, const char* reason_part) {
  ParsedScript parsed = Parse(text);
  EXPECT_FALSE(parsed.ok) << text;
  EXPECT_EQ(parsed.problem.line, line) << text;
  EXPECT_NE(std::strstr(parsed.problem.text, reason_part), nullptr)
      << text << " gave: " << parsed.problem.text;
}

TEST(SceneScriptKeywords, KeywordsAndValueWordsIgnoreCaseQuotedTextKeepsIt) {
  ParsedScript parsed = Parse(
      "title \"Aerilon Vesk\"\nTitle \"Aerilon by Vesk\"\naflag inactive\n"
      "TyPe ReGiOnAl\nsource \"a\\b\" dest \"C:\\x\"");
  ASSERT_TRUE(parsed.ok) << parsed.problem.text;
  EXPECT_STREQ(parsed.edit.title, "Aerilon by Vesk");  // the last TITLE stands
  EXPECT_EQ(parsed.edit.active_flag, 0);
  EXPECT_EQ(parsed.edit.type, kTypeRegional);
  EXPECT_STREQ(parsed.edit.source, "a\\b");  // no escapes
  EXPECT_STREQ(parsed.edit.dest, "C:\\x");
}

TEST(SceneScriptKeywords, QuotedTextsMayBeEmptyOrSpanLines) {
  ParsedScript empty = Parse("TITLE \"\"");
  ASSERT_TRUE(empty.ok);
  ASSERT_NE(empty.edit.title, nullptr);
  EXPECT_STREQ(empty.edit.title, "");

  ParsedScript lines = Parse("TITLE \"two\n  lines; not a comment\" TYPE LOW");
  ASSERT_TRUE(lines.ok) << lines.problem.text;
  EXPECT_STREQ(lines.edit.title, "two\n  lines; not a comment");
  EXPECT_EQ(lines.edit.type, kTypeLow);
}

TEST(SceneScriptKeywords, OnlyCommentsAndWhiteSpaceLeaveTheDefaults) {
  ParsedScript parsed = Parse("  ; first\n\n\t;second line ; more\n   \n; last without line feed");
  ASSERT_TRUE(parsed.ok) << parsed.problem.text;
  EXPECT_EQ(parsed.edit.title, nullptr);
  EXPECT_EQ(parsed.edit.source, nullptr);
  EXPECT_EQ(parsed.edit.dest, nullptr);
  EXPECT_EQ(parsed.edit.type, 30);
  EXPECT_EQ(parsed.edit.cache, 5000);
  EXPECT_EQ(parsed.edit.active_flag, 1);
  EXPECT_EQ(parsed.edit.b_flag, 1);
  EXPECT_EQ(parsed.edit.kill_area_count, 0);
  EXPECT_EQ(parsed.edit.clean, 0);
  EXPECT_EQ(parsed.edit.update, 0);
  EXPECT_EQ(parsed.edit.kill_bounds.west, 2147483647);
  EXPECT_EQ(parsed.edit.kill_bounds.north, -2147483647 - 1);
  EXPECT_EQ(parsed.edit.kill_bounds.east, -2147483647 - 1);
  EXPECT_EQ(parsed.edit.kill_bounds.south, 134217727);
  EXPECT_TRUE(Parse("").ok);
}

TEST(SceneScriptKeywords, ACommentEndsAtItsOwnLineFeed) {
  // A comment of one word must not swallow the statement on the next line.
  ParsedScript parsed = Parse(";x\nTYPE HIGH\nCACHE 12 ; trailing");
  ASSERT_TRUE(parsed.ok) << parsed.problem.text;
  EXPECT_EQ(parsed.edit.type, kTypeHigh);
  EXPECT_EQ(parsed.edit.cache, 12);
  // "INACTIVE;" is one word, and not a value word.
  ParsedScript glued = Parse("AFLAG INACTIVE;");
  EXPECT_FALSE(glued.ok);
  EXPECT_EQ(Parse("TYPE LOW ;note").edit.type, kTypeLow);
}

TEST(SceneScriptValues, EachKeywordTakesItsOwnWords) {
  ParsedScript parsed = Parse("AFLAG ACTIVE BFLAG INACTIVE CLEAN NO UPDATE AUTO TYPE GLOBAL");
  ASSERT_TRUE(parsed.ok) << parsed.problem.text;
  EXPECT_EQ(parsed.edit.active_flag, 1);
  EXPECT_EQ(parsed.edit.b_flag, 0);
  EXPECT_EQ(parsed.edit.clean, 1);
  EXPECT_EQ(parsed.edit.update, 2);
  EXPECT_EQ(parsed.edit.type, kTypeGlobal);
  EXPECT_EQ(Parse("CLEAN YES").edit.clean, 0);
  EXPECT_EQ(Parse("UPDATE SEMI").edit.update, 1);
  EXPECT_EQ(Parse("UPDATE MANUAL").edit.update, 0);
  EXPECT_EQ(Parse("TYPE LOCAL").edit.type, kTypeLocal);
  EXPECT_EQ(Parse("TYPE HIGH").edit.type, kTypeHigh);
  EXPECT_EQ(Parse("BFLAG ACTIVE").edit.b_flag, 1);
}

TEST(SceneScriptValues, WordsOutsideTheTableOrForAnotherKeywordAreRefused) {
  ExpectRefused("AFLAG YES", 1, "AFLAG does not take YES");
  ExpectRefused("\n\nAFLAG MAYBE", 3, "\"MAYBE\" is not a value word");
  ExpectRefused("TYPE ACTIVE", 1, "TYPE does not take ACTIVE");
  ExpectRefused("CLEAN AUTO", 1, "CLEAN does not take AUTO");
  ExpectRefused("UPDATE LOW", 1, "UPDATE does not take LOW");
  ExpectRefused("TYPE LOW\nAFLAG", 2, "AFLAG needs a value");
  ExpectRefused("CACHE   \n ", 1, "CACHE needs a value");
  ExpectRefused("TITLE \"A\"\nFLAG ACTIVE", 2, "\"FLAG\" is not a keyword");
}

TEST(SceneScriptValues, FieldsSetBeforeAFaultKeepTheirValues) {
  ParsedScript parsed = Parse("TYPE HIGH\nCACHE 7\nBOGUS");
  EXPECT_FALSE(parsed.ok);
  EXPECT_EQ(parsed.edit.type, kTypeHigh);
  EXPECT_EQ(parsed.edit.cache, 7);
}

TEST(SceneScriptValues, CacheReadsDigitsAfterASignAndKeepsSixteenBits) {
  EXPECT_EQ(Parse("CACHE 2000").edit.cache, 2000);
  EXPECT_EQ(Parse("CACHE -300").edit.cache, -300);
  EXPECT_EQ(Parse("CACHE +42x7").edit.cache, 42);
  EXPECT_EQ(Parse("CACHE lots").edit.cache, 0);
  EXPECT_EQ(Parse("CACHE 70000").edit.cache, 70000 - 65536);
  EXPECT_EQ(Parse("CACHE 40000").edit.cache, 40000 - 65536);
}

TEST(SceneScriptQuotes, MissingQuotesAreRefusedWithTheLine) {
  ExpectRefused("TYPE LOW\nTITLE Aerilon", 2, "TITLE needs a text in double quotes");
  ExpectRefused("TITLE", 1, "TITLE needs a text in double quotes");
  ExpectRefused("SOURCE \"a\"\n\nDEST \"open\nended", 3,
                "text of DEST has no closing double quote");
}

TEST(SceneScriptLimits, WordsOfMoreThanElevenCharactersAreRefused) {
  EXPECT_EQ(Parse("CACHE 00000002000").edit.cache, 2000);  // eleven characters
  ExpectRefused("CACHE 000000002000", 1, "longer than 11 characters");
  EXPECT_TRUE(Parse(";2345678901 rest of the comment").ok);
  ExpectRefused("TYPE LOW\n;-----------------\n", 2, "longer than 11 characters");
  ExpectRefused("AFLAG INACTIVEXXXX", 1, "longer than 11 characters");
  ExpectRefused("DESTINATIONS \"x\"", 1, "longer than 11 characters");
}

std::string Areas(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) text += "AREA 1G0ME, 2G0MN, 3G0ME, 1G0MN\n";
  return text;
}

TEST(SceneScriptLimits, TenAreasAreAcceptedAnEleventhIsRefused) {
  ParsedScript ten = Parse(Areas(10));
  ASSERT_TRUE(ten.ok) << ten.problem.text;
  EXPECT_EQ(ten.edit.kill_area_count, 10);
  ParsedScript eleven = Parse(Areas(11));
  EXPECT_FALSE(eleven.ok);
  EXPECT_EQ(eleven.problem.line, 11);
  EXPECT_NE(std::strstr(eleven.problem.text, "more than 10 AREA"), nullptr);
  EXPECT_EQ(eleven.edit.kill_area_count, 10);
}

TEST(SceneScriptAreas, TheExampleAreaInUnits) {
  ParsedScript parsed = Parse("AREA 12G30ME, 46G0MN, 13G0ME, 45G30MN");
  ASSERT_TRUE(parsed.ok) << parsed.problem.text;
  ASSERT_EQ(parsed.edit.kill_area_count, 1);
  const KillArea& area = parsed.edit.kill_areas[0];
  EXPECT_EQ(area.west, 149130808);  // 45000 s x 3314.01797530864
  EXPECT_EQ(area.north, 5112005);   // 165600 s x 30.8695987654321
  EXPECT_EQ(area.east, 155096041);  // 46800 s
  EXPECT_EQ(area.south, 5056440);   // 163800 s
  EXPECT_EQ(parsed.edit.kill_bounds.west, area.west);
  EXPECT_EQ(parsed.edit.kill_bounds.north, area.north);
  EXPECT_EQ(parsed.edit.kill_bounds.east, area.east);
  EXPECT_EQ(parsed.edit.kill_bounds.south, area.south);
}

TEST(SceneScriptAreas, BoundsGrowToTheUnionOfAllAreas) {
  ParsedScript parsed =
      Parse("AREA 10G0ME 45G0MN 11G0ME 44G0MN\narea 9g0me, 44g30mn, 10g30me, 43g0mn");
  ASSERT_TRUE(parsed.ok) << parsed.problem.text;
  ASSERT_EQ(parsed.edit.kill_area_count, 2);
  const KillArea& first = parsed.edit.kill_areas[0];
  const KillArea& second = parsed.edit.kill_areas[1];
  EXPECT_EQ(parsed.edit.kill_bounds.west, second.west);
  EXPECT_EQ(parsed.edit.kill_bounds.north, first.north);
  EXPECT_EQ(parsed.edit.kill_bounds.east, first.east);
  EXPECT_EQ(parsed.edit.kill_bounds.south, second.south);
  EXPECT_LT(second.west, first.west);
  EXPECT_GT(first.north, second.north);
}

TEST(SceneScriptAreas, AnAreaCutShortByTheEndIsRefused) {
  ExpectRefused("AREA", 1, "the west edge is missing");
  ExpectRefused("TYPE LOW\nAREA 1G0ME, 2G0MN, 3G0ME", 2, "the south edge is missing");
}

// A coordinate on its own, as the parser reads it inside an AREA.
int32_t Latitude(const char* text, const char** rest = nullptr) {
  int32_t units = 0;
  const char* position = text;
  EXPECT_TRUE(ParseLatitude(&position, &units)) << text;
  if (rest != nullptr) *rest = position;
  return units;
}

int32_t Longitude(const char* text) {
  int32_t units = 0;
  const char* position = text;
  EXPECT_TRUE(ParseLongitude(&position, &units)) << text;
  return units;
}

TEST(SceneScriptCoordinates, UnitLettersHemispheresAndFactors) {
  EXPECT_EQ(Latitude("45G0MN"), 5000875);  // half of the 10001750 units of 90 degrees
  EXPECT_EQ(Latitude("45G"), 5000875);
  EXPECT_EQ(Latitude("2700M"), 5000875);
  EXPECT_EQ(Latitude("162000S"), 5000875);
  EXPECT_EQ(Latitude("45g0ms"), -5000875);
  EXPECT_EQ(Latitude("46G30M15.5SN"), 5168049);  // fractions are read as one number
  EXPECT_EQ(Longitude("12G30MW"), -149130808);
  EXPECT_EQ(Longitude("12.5G E"), 149130808);  // the hemisphere must follow directly: east
  EXPECT_EQ(Longitude("12.5GW"), -149130808);
  EXPECT_EQ(Longitude("12.5G W"), 149130808);  // not directly after: no hemisphere
}

TEST(SceneScriptCoordinates, NumbersWithoutAUnitCountNothing) {
  EXPECT_EQ(Latitude("45X30MN"), Latitude("30MN"));
  EXPECT_EQ(Latitude("45"), 0);  // a number at the end of the text
  EXPECT_EQ(Latitude("N"), 0);
  EXPECT_EQ(Longitude("E, 5G"), 0);
}

TEST(SceneScriptCoordinates, AnglesWrapIntoTheirRanges) {
  EXPECT_EQ(Latitude("100G0MN"), -8890444);  // 360000 - 648000 = -288000 s
  EXPECT_EQ(Latitude("90GN"), -10001750);    // [-90, 90): 90 north reads as 90 south
  EXPECT_EQ(Latitude("280GN"), Latitude("100G0MN"));
  EXPECT_EQ(Latitude("100GS"), 8890444);
  EXPECT_EQ(Longitude("190G0ME"), -2028179000);     // 684000 - 1296000 = -612000 s
  EXPECT_EQ(Longitude("180GE"), -2147483647);       // -648000 s, truncated toward zero
  EXPECT_EQ(Longitude("1e9G"), Longitude("280G"));  // 1e9 degrees, 360 at a time
}

TEST(SceneScriptCoordinates, SeparatorsAreSkippedUpToTheNextCoordinate) {
  const char* rest = nullptr;
  Latitude("1G0MN  ,  \n 2G", &rest);
  EXPECT_STREQ(rest, "2G");
  Latitude("1G0MN 2G", &rest);
  EXPECT_STREQ(rest, "2G");
  Latitude("1G0MN,,2G", &rest);
  EXPECT_STREQ(rest, ",2G");  // one comma only
}

TEST(SceneScriptCoordinates, NumbersTooLargeToReadAreRefused) {
  int32_t units = 0;
  const char* position = "1e400G";
  EXPECT_FALSE(ParseLatitude(&position, &units));
  ExpectRefused("AREA 1G, 1e999G, 2G, 0G", 1, "north edge of AREA holds a number too large");
}

TEST(SceneScriptCoordinates, NumbersOfAnyLengthAreReadByTheirValue) {
  const std::string zeros(200, '0');
  const struct {
    std::string text;
    const char* same_as;  // null: refused
  } cases[] = {
      {zeros + "46G", "46G"},
      {"46." + zeros + "1G", "46G"},  // the fraction is far below what a double holds
      {zeros + "12.5" + zeros + "G30M" + zeros + "15S", "12.5G30M15S"},
      {"0." + std::string(100, '0') + "46e102G", "46G"},
      {"46G" + zeros + "E", "46G"},  // a number without a unit counts nothing
      {"0x10G", "10G"},              // no hexadecimal: a 0, then the letter x
      {"1" + zeros + zeros + "G", nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text.size());
    int32_t units = 0;
    const char* position = c.text.c_str();
    ASSERT_EQ(ParseLatitude(&position, &units), c.same_as != nullptr);
    if (c.same_as == nullptr) continue;
    EXPECT_EQ(units, Latitude(c.same_as));
    EXPECT_EQ(*position, '\0');
  }
  ParsedScript long_number = Parse("TITLE \"A\"\nAREA 12G30ME, " + zeros + "46G0MN, 13G, 45G\n");
  ASSERT_TRUE(long_number.ok) << long_number.problem.text;
  EXPECT_EQ(long_number.edit.kill_areas[0].north, Latitude("46G"));
}

TEST(SceneScriptFile, LoadingReportsEachFailureWithItsStatus) {
  FakeFileSystem fs;
  EditParameters edit;
  ResetEditParameters(edit);
  Diagnostic problem{};
  int32_t status = -1;
  EXPECT_EQ(ParseEditScript(fs, "missing.dat", edit, &status, &problem), nullptr);
  EXPECT_EQ(status, kStatusScriptNotOpened);
  EXPECT_STREQ(problem.file, "missing.dat");

  fs.Put("s.dat", "TYPE LOW");
  fs.no_memory_for_reads = true;
  EXPECT_EQ(ParseEditScript(fs, "s.dat", edit, &status, &problem), nullptr);
  EXPECT_EQ(status, kStatusNoMemory);

  fs.no_memory_for_reads = false;
  fs.Put("bad.dat", "TYPE LOW\r\nTYPE NONE\r\n");
  EXPECT_EQ(ParseEditScript(fs, "bad.dat", edit, &status, &problem), nullptr);
  EXPECT_EQ(status, kStatusScriptFaulty);
  EXPECT_STREQ(problem.file, "bad.dat");
  EXPECT_EQ(problem.line, 2);
  EXPECT_EQ(fs.live_blocks, 0);  // the buffer of a faulty script is freed
}

TEST(SceneScriptFile, WindowsLineEndsReadAsLineFeedsAndCtrlZEndsTheText) {
  FakeFileSystem fs;
  EditParameters edit;
  ResetEditParameters(edit);
  int32_t status = -1;
  fs.Put("s.dat", "TITLE \"one\r\ntwo\"\r\n; note\r\nTYPE LOW\r\n\x1A garbage after the end");
  char* buffer = ParseEditScript(fs, "s.dat", edit, &status, nullptr);
  ASSERT_NE(buffer, nullptr);
  EXPECT_EQ(status, kStatusOk);
  EXPECT_STREQ(edit.title, "one\ntwo");
  EXPECT_EQ(edit.type, kTypeLow);
  fs.FreeBlock(buffer);
}

TEST(SceneScriptFile, AZeroByteInTheScriptIsRefused) {
  FakeFileSystem fs;
  EditParameters edit;
  ResetEditParameters(edit);
  Diagnostic problem{};
  int32_t status = -1;
  fs.files["s.dat"] = {'T', 'Y', 'P', 'E', ' ', 'L', 'O', 'W', '\n', 0, 'X'};
  EXPECT_EQ(ParseEditScript(fs, "s.dat", edit, &status, &problem), nullptr);
  EXPECT_EQ(status, kStatusScriptFaulty);
  EXPECT_EQ(problem.line, 2);
}

}  // namespace
