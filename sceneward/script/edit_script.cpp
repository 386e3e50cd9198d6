#include "sceneward/script/edit_script.h"

#include <cstring>

#include "sceneward/base/status.h"
#include "sceneward/script/area_check.h"
#include "sceneward/script/coordinates.h"
#include "sceneward/script/edit_script_text.h"

namespace {

enum Keyword { kDest, kSource, kTitle, kArea, kAFlag, kBFlag, kClean, kType, kUpdate, kCache };

const char* const kKeywords[] = {"DEST",  "SOURCE", "TITLE", "AREA",   "AFLAG",
                                 "BFLAG", "CLEAN",  "TYPE",  "UPDATE", "CACHE"};

// The twelve value words, each with the keywords that take it and the value
// it gives there. Each keyword's words count up in table order (CLEAN: YES 0,
// NO 1; TYPE in steps of ten), as the stored type codes and flags expect.
struct ValueWord {
  const char* word;
  Keyword keyword;  // AFLAG stands for both flags
  uint8_t value;
};

const ValueWord kValueWords[] = {
    {"INACTIVE", kAFlag, 0},
    {"ACTIVE", kAFlag, 1},
    {"YES", kClean, 0},
    {"NO", kClean, 1},
    {"MANUAL", kUpdate, 0},
    {"SEMI", kUpdate, 1},
    {"AUTO", kUpdate, 2},
    {"GLOBAL", kType, kTypeGlobal},
    {"REGIONAL", kType, kTypeRegional},
    {"LOCAL", kType, kTypeLocal},
    {"LOW", kType, kTypeLow},
    {"HIGH", kType, kTypeHigh},
};

// What each keyword takes, by keyword, for the reason of a refusal.
const char* const kAcceptedWords[] = {"",
                                      "",
                                      "",
                                      "",
                                      "ACTIVE or INACTIVE",
                                      "ACTIVE or INACTIVE",
                                      "YES or NO",
                                      "GLOBAL, REGIONAL, LOCAL, LOW or HIGH",
                                      "MANUAL, SEMI or AUTO",
                                      ""};

bool IsWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

struct ScriptReader {
  char* text;
  char* position;
  char* keyword_start;  // of the statement being read: faults of its operand are on its line
  EditParameters* edit;
  Diagnostic* problem;
  AreaWritings* writings;  // null: how the areas were written is not kept
};

int32_t LineAt(const ScriptReader& r, const char* at) {
  int32_t line = 1;
  for (const char* p = r.text; p < at; ++p) line += *p == '\n';
  return line;
}

bool Fail(ScriptReader& r, const char* at, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

bool Fail(ScriptReader& r, const char* at, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  SetDiagnosticV(r.problem, nullptr, LineAt(r, at), format, arguments);
  va_end(arguments);
  return false;
}

void SkipWhiteSpace(ScriptReader& r) {
  while (IsWhiteSpace(*r.position)) ++r.position;
}

// The word at the reading position, upper-cased into `word`; the position
// moves behind it. False (with the reason) when it is longer than a word may be.
bool ReadWord(ScriptReader& r, char (&word)[kMaxWordLength + 1]) {
  char* start = r.position;
  while (*r.position != '\0' && !IsWhiteSpace(*r.position)) ++r.position;
  size_t length = static_cast<size_t>(r.position - start);
  if (length > kMaxWordLength) {
    return Fail(r, start, "the word \"%.*s%s\" is longer than %u characters",
                static_cast<int>(length > 24 ? 24 : length), start, length > 24 ? "..." : "",
                static_cast<unsigned>(kMaxWordLength));
  }
  for (size_t i = 0; i < length; ++i) {
    char c = start[i];
    word[i] = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  word[length] = '\0';
  return true;
}

// The operand word of a keyword; false when the text ends first.
bool ReadOperandWord(ScriptReader& r, Keyword keyword, char (&word)[kMaxWordLength + 1]) {
  SkipWhiteSpace(r);
  if (*r.position == '\0') return Fail(r, r.keyword_start, "%s needs a value", kKeywords[keyword]);
  return ReadWord(r, word);
}

bool ReadQuotedText(ScriptReader& r, Keyword keyword, const char** field) {
  char* open = std::strchr(r.position, '"');
  if (open == nullptr) {
    return Fail(r, r.keyword_start, "%s needs a text in double quotes", kKeywords[keyword]);
  }
  char* close = std::strchr(open + 1, '"');
  if (close == nullptr) {
    return Fail(r, open, "the text of %s has no closing double quote", kKeywords[keyword]);
  }
  *close = '\0';
  *field = open + 1;
  r.position = close + 1;
  return true;
}

bool ReadValueWord(ScriptReader& r, Keyword keyword, uint8_t* field) {
  char* start = nullptr;
  char word[kMaxWordLength + 1];
  SkipWhiteSpace(r);
  start = r.position;
  if (!ReadOperandWord(r, keyword, word)) return false;
  Keyword table_keyword = keyword == kBFlag ? kAFlag : keyword;
  for (const ValueWord& value : kValueWords) {
    if (std::strcmp(value.word, word) != 0) continue;
    if (value.keyword != table_keyword) {
      return Fail(r, start, "%s does not take %s (it takes %s)", kKeywords[keyword], word,
                  kAcceptedWords[keyword]);
    }
    *field = value.value;
    return true;
  }
  return Fail(r, start, "\"%s\" is not a value word (%s takes %s)", word, kKeywords[keyword],
              kAcceptedWords[keyword]);
}

// Digits after an optional sign, up to the first other character; kept in
// 16 bits as a short would keep it.
bool ReadCache(ScriptReader& r, int16_t* field) {
  char word[kMaxWordLength + 1];
  if (!ReadOperandWord(r, kCache, word)) return false;
  const char* p = word;
  bool negative = *p == '-';
  if (*p == '-' || *p == '+') ++p;
  int64_t value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) value = value * 10 + (*p - '0');
  if (negative) value = -value;
  *field = static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(value) & 0xFFFF));
  return true;
}

bool ReadCoordinate(ScriptReader& r, bool latitude, int32_t* units, CoordinateSeconds* seconds,
                    const char* name) {
  const char* at = r.position;
  if (*at == '\0')
    return Fail(r, r.keyword_start, "AREA needs four coordinates; the %s edge is missing", name);
  const char* position = at;
  bool read = latitude ? ParseLatitude(&position, units, seconds)
                       : ParseLongitude(&position, units, seconds);
  r.position += position - at;
  if (!read) return Fail(r, at, "the %s edge of AREA holds a number too large to read", name);
  return true;
}

void WidenBounds(KillArea& bounds, const KillArea& area) {
  if (area.west < bounds.west) bounds.west = area.west;
  if (area.north > bounds.north) bounds.north = area.north;
  if (area.east > bounds.east) bounds.east = area.east;
  if (area.south < bounds.south) bounds.south = area.south;
}

bool ReadArea(ScriptReader& r) {
  EditParameters& edit = *r.edit;
  if (edit.kill_area_count >= kMaxKillAreas) {
    return Fail(r, r.keyword_start, "more than %d AREA statements",
                static_cast<int>(kMaxKillAreas));
  }
  KillArea area;
  AreaWriting writing{r.writings != nullptr ? LineAt(r, r.keyword_start) : 0, {}};
  CoordinateSeconds* seconds = writing.seconds;
  if (!ReadCoordinate(r, false, &area.west, &seconds[kWestEdge], "west") ||
      !ReadCoordinate(r, true, &area.north, &seconds[kNorthEdge], "north") ||
      !ReadCoordinate(r, false, &area.east, &seconds[kEastEdge], "east") ||
      !ReadCoordinate(r, true, &area.south, &seconds[kSouthEdge], "south")) {
    return false;
  }
  if (r.writings != nullptr) r.writings->areas[edit.kill_area_count] = writing;
  edit.kill_areas[edit.kill_area_count++] = area;
  if (r.writings != nullptr) r.writings->count = edit.kill_area_count;
  WidenBounds(edit.kill_bounds, area);
  return true;
}

bool ReadStatement(ScriptReader& r, Keyword keyword) {
  EditParameters& edit = *r.edit;
  SkipWhiteSpace(r);
  switch (keyword) {
    case kDest: return ReadQuotedText(r, keyword, &edit.dest);
    case kSource: return ReadQuotedText(r, keyword, &edit.source);
    case kTitle: return ReadQuotedText(r, keyword, &edit.title);
    case kArea: return ReadArea(r);
    case kAFlag: return ReadValueWord(r, keyword, &edit.active_flag);
    case kBFlag: return ReadValueWord(r, keyword, &edit.b_flag);
    case kClean: return ReadValueWord(r, keyword, &edit.clean);
    case kType: return ReadValueWord(r, keyword, &edit.type);
    case kUpdate: return ReadValueWord(r, keyword, &edit.update);
    case kCache: return ReadCache(r, &edit.cache);
  }
  return false;
}

// A comment runs from its ";" to the end of its line.
void SkipComment(ScriptReader& r, char* start) {
  char* line_feed = std::strchr(start, '\n');
  r.position = line_feed == nullptr ? start + std::strlen(start) : line_feed + 1;
}

bool FindKeyword(const char* word, Keyword* keyword) {
  for (int k = kDest; k <= kCache; ++k) {
    if (std::strcmp(kKeywords[k], word) == 0) {
      *keyword = static_cast<Keyword>(k);
      return true;
    }
  }
  return false;
}

}  // namespace

bool ParseEditScriptText(char* text, EditParameters& edit, Diagnostic* problem,
                         AreaWritings* writings) {
  if (writings != nullptr) writings->count = 0;
  ScriptReader r{text, text, text, &edit, problem, writings};
  for (;;) {
    SkipWhiteSpace(r);
    if (*r.position == '\0') return true;
    char* start = r.position;
    char word[kMaxWordLength + 1];
    if (!ReadWord(r, word)) return false;
    if (word[0] == ';') {
      SkipComment(r, start);
      continue;
    }
    Keyword keyword;
    if (!FindKeyword(word, &keyword)) {
      return Fail(r, start,
                  "\"%s\" is not a keyword (DEST, SOURCE, TITLE, AREA, AFLAG, BFLAG, CLEAN, TYPE, "
                  "UPDATE, CACHE)",
                  word);
    }
    r.keyword_start = start;
    if (!ReadStatement(r, keyword)) return false;
  }
}

char* ParseEditScript(FileSystem& fs, const char* path, EditParameters& edit, int32_t* status,
                      Diagnostic* problem, AreaWritings* writings) {
  if (writings != nullptr) writings->count = 0;
  FileBlock block;
  switch (fs.ReadWholeFile(path, OpenMode::kReadOnly, 1, &block)) {
    case ReadOutcome::kCannotOpen:
      *status = kStatusScriptNotOpened;
      SetDiagnostic(problem, path, 0, "cannot open the edit script");
      return nullptr;
    case ReadOutcome::kReadFailed:
      *status = kStatusScriptNotOpened;
      SetDiagnostic(problem, path, 0, "the edit script could not be read whole");
      return nullptr;
    case ReadOutcome::kNoMemory:
      *status = kStatusNoMemory;
      SetDiagnostic(problem, path, 0, "not enough memory for the edit script");
      return nullptr;
    case ReadOutcome::kRead: break;
  }
  char* text = reinterpret_cast<char*>(block.bytes);
  uint32_t length = ToTextMode(text, block.size);
  text[length] = '\0';
  bool parsed = false;
  if (std::strlen(text) < length) {
    // A zero byte would end the script early and hide everything after it.
    ScriptReader r{text, text, text, &edit, problem, nullptr};
    Fail(r, text + std::strlen(text), "the script holds a zero byte; it is not a text file");
  } else {
    parsed = ParseEditScriptText(text, edit, problem, writings);
  }
  if (!parsed) {
    if (problem != nullptr) problem->file = path;
    *status = kStatusScriptFaulty;
    // The other fields keep what they were given until the next reset.
    ForgetScriptTexts(edit);
    fs.FreeBlock(block.bytes);
    return nullptr;
  }
  *status = kStatusOk;
  return text;
}
