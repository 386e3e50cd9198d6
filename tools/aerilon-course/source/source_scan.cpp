#include "tools/aerilon-course/source/source_scan.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsBareKeyCharacter(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-';
}

// A dotted key as far as the limit needs it: its first parts, and how many
// there are.
struct ScannedKey {
  std::vector<std::string> parts;
  size_t count = 0;
};

// Reads the text as TOML is laid out (headers, keys, values, texts,
// comments) without judging it: the library does that. The depth of a key
// counts its header's parts (one more for [[...]]), its own parts and the
// brackets around it; nesting stops at the limit, so the scan itself needs
// no deep stack either.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;  // a byte order mark has no column
  }

  SourceScan Run() {
    while (!AtEnd()) {
      SkipSpaces();
      char c = Peek();
      if (c == '\n' || c == '\r') {
        Advance();
        continue;
      }
      if (c == '[') {
        Header();
      } else if (c != '#') {
        KeyValue();
      }
      too_deep_ = false;
      SkipLine();  // a comment, or what the library will refuse
    }
    return std::move(scan_);
  }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek(size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
  }
  void Advance() {
    char c = text_[pos_++];
    if (c == '\n') {
      ++line_;
      column_ = 1;
    } else if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) {
      ++column_;  // columns count characters, not the bytes of UTF-8
    }
  }
  SourceSpot Here() const { return SourceSpot{line_, column_}; }
  void SkipSpaces() {
    while (Peek() == ' ' || Peek() == '\t') Advance();
  }
  void SkipLine() {
    while (!AtEnd() && Peek() != '\n') Advance();
  }
  // Inside brackets: spaces, line breaks and comments.
  void SkipBlank() {
    for (;;) {
      char c = Peek();
      if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
        Advance();
      } else if (c == '#') {
        SkipLine();
      } else {
        return;
      }
    }
  }

  // False, with the refusal told once a line, beyond the limit.
  bool WithinLimit(size_t depth, SourceSpot spot, bool bracket = false) {
    if (depth <= static_cast<size_t>(kMaxKeyParts)) return true;
    too_deep_ = true;
    if (!scan_.refusals.empty() && scan_.refusals.back().spot.line == spot.line) return false;
    std::string what = bracket ? "the lists and tables nest " + std::to_string(depth) + " deep here"
                               : "this key is " + std::to_string(depth) +
                                     " parts deep, with its table's and the brackets around it";
    scan_.refusals.push_back(
        {spot, what + "; a course source allows at most " + std::to_string(kMaxKeyParts)});
    return false;
  }

  void Header() {
    Advance();
    bool array = Peek() == '[';
    if (array) Advance();
    SkipSpaces();
    SourceSpot first = Here();
    ScannedKey key = Key();
    header_depth_ = key.count + (array ? 1 : 0);
    if (key.count == 0 || !WithinLimit(header_depth_, first)) return;
    scan_.headers.push_back({key.parts, array, first});
  }

  void KeyValue() {
    SourceSpot spot = Here();
    ScannedKey key = Key();
    size_t depth = header_depth_ + key.count;
    if (key.count == 0 || !WithinLimit(depth, spot)) return;
    SkipSpaces();
    if (Peek() != '=') return;
    Advance();
    SkipSpaces();
    Value(depth);
  }

  void Value(size_t depth) {
    char c = Peek();
    if (c == '"' || c == '\'') {
      Text();
    } else if (c == '[') {
      Array(depth + 1);
    } else if (c == '{') {
      InlineTable(depth);
    } else {
      static constexpr std::string_view kEnds = ",[]{}#\"' \t\r\n";
      while (!AtEnd() && kEnds.find(Peek()) == std::string_view::npos) Advance();
    }
  }

  void Array(size_t depth) {
    if (!WithinLimit(depth, Here(), true)) return;
    Advance();
    while (!AtEnd() && !too_deep_) {
      SkipBlank();
      size_t before = pos_;
      if (Peek() == ']') {
        Advance();
        return;
      }
      if (Peek() != ',') Value(depth);
      if (pos_ == before) Advance();
    }
  }

  void InlineTable(size_t depth) {
    Advance();
    while (!AtEnd() && !too_deep_) {
      SkipBlank();
      size_t before = pos_;
      if (Peek() == '}') {
        Advance();
        return;
      }
      SourceSpot spot = Here();
      ScannedKey key = Key();
      if (key.count > 0 && WithinLimit(depth + key.count, spot)) {
        SkipSpaces();
        if (Peek() == '=') {
          Advance();
          SkipSpaces();
          Value(depth + key.count);
        }
      }
      if (pos_ == before) Advance();
    }
  }

  ScannedKey Key() {
    ScannedKey key;
    for (;;) {
      SkipSpaces();
      std::string part;
      if (IsBareKeyCharacter(Peek())) {
        size_t begin = pos_;
        while (IsBareKeyCharacter(Peek())) Advance();
        part = std::string(text_.substr(begin, pos_ - begin));
      } else if (Peek() == '"' || Peek() == '\'') {
        std::optional<std::string> quoted = QuotedKeyPart();
        if (!quoted) return key;
        part = *quoted;
      } else {
        return key;
      }
      if (key.parts.size() <= static_cast<size_t>(kMaxKeyParts)) key.parts.push_back(part);
      ++key.count;
      SkipSpaces();
      if (Peek() != '.') return key;
      Advance();
    }
  }

  // "a \"b\"" or 'a "b"': the part's characters (the common escapes only;
  // the part is for messages).
  std::optional<std::string> QuotedKeyPart() {
    SourceSpot start = Here();
    char quote = Peek();
    Advance();
    std::string part;
    while (!AtEnd() && Peek() != '\n' && Peek() != quote) {
      if (quote == '"' && Peek() == '\\') {
        Advance();
        if (AtEnd() || Peek() == '\n') break;
      }
      part += Peek();
      Advance();
    }
    if (Peek() != quote) {
      OpenText(start, std::string(1, quote));
      return std::nullopt;
    }
    Advance();
    return part;
  }

  // A text in quotes, on one line, or in three quotes over several.
  void Text() {
    SourceSpot start = Here();
    char quote = Peek();
    bool several_lines = Peek(1) == quote && Peek(2) == quote;
    size_t opening = several_lines ? 3 : 1;
    for (size_t i = 0; i < opening; ++i) Advance();
    while (!AtEnd() && (several_lines || Peek() != '\n')) {
      if (quote == '"' && Peek() == '\\') {
        Advance();
        if (!AtEnd() && (several_lines || Peek() != '\n')) Advance();
        continue;
      }
      if (Peek() == quote && (!several_lines || (Peek(1) == quote && Peek(2) == quote))) {
        for (size_t i = 0; i < opening; ++i) Advance();
        // """a "quoted" word"""": up to two quotes more belong to the text.
        for (int extra = 0; several_lines && extra < 2 && Peek() == quote; ++extra) Advance();
        return;
      }
      Advance();
    }
    OpenText(start, std::string(opening, quote));
  }

  void OpenText(SourceSpot spot, const std::string& quote) {
    if (scan_.open_text) return;
    scan_.open_text = spot;
    scan_.open_quote = quote;
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1, column_ = 1;
  size_t header_depth_ = 0;
  bool too_deep_ = false;  // the rest of the line is not looked into
  SourceScan scan_;
};

// Where the text passes the size limit.
SourceSpot SpotOfOffset(std::string_view text, size_t offset) {
  std::string_view before = text.substr(0, offset);
  int line = 1 + static_cast<int>(std::count(before.begin(), before.end(), '\n'));
  size_t line_start = before.rfind('\n');
  line_start = line_start == std::string_view::npos ? 0 : line_start + 1;
  int column = 1;
  for (size_t i = line_start; i < offset; ++i) {
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++column;
  }
  return SourceSpot{line, column};
}

}  // namespace

SourceScan ScanSource(std::string_view text) {
  if (text.size() > kMaxSourceBytes) {
    SourceScan scan;
    scan.refusals.push_back(
        {SpotOfOffset(text, kMaxSourceBytes),
         "the source is " + std::to_string(text.size()) + " bytes long, and passes here the " +
             std::to_string(kMaxSourceBytes >> 20) + " MiB (" + std::to_string(kMaxSourceBytes) +
             " bytes) a course source may have"});
    return scan;
  }
  return Scanner(text).Run();
}

std::string_view LineOf(std::string_view text, int line) {
  if (line == 1 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  size_t start = 0;
  for (int i = 1; i < line; ++i) {
    start = text.find('\n', start);
    if (start == std::string_view::npos) return {};
    ++start;
  }
  size_t end = std::min(text.find('\n', start), text.size());
  std::string_view found = text.substr(start, end - start);
  if (!found.empty() && found.back() == '\r') found.remove_suffix(1);
  return found;
}

size_t ColumnOffset(std::string_view line, int column) {
  size_t offset = 0;
  for (int c = 1; c < column && offset < line.size(); ++c) {
    ++offset;
    while (offset < line.size() && (static_cast<unsigned char>(line[offset]) & 0xC0) == 0x80) {
      ++offset;
    }
  }
  return offset;
}

std::string ShownKeyPart(const std::string& part) {
  if (!part.empty() && std::all_of(part.begin(), part.end(), IsBareKeyCharacter)) return part;
  std::string quoted = "\"";
  for (char c : part) {
    if (c == '"' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}
