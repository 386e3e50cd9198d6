#include "tools/aerilon-course/source/source_syntax.h"

#include <cctype>
#include <optional>
#include <string>
#include <vector>

#include <toml++/toml.h>

namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool Contains(std::string_view s, std::string_view part) {
  return s.find(part) != std::string_view::npos;
}

// The key of the last "=" before `offset` on a line, as written, and
// whether it stands inside braces or brackets rather than at the line's
// start.
struct KeyOnLine {
  std::string_view text;
  bool nested = false;
  bool found = false;
};

KeyOnLine KeyBefore(std::string_view line, size_t offset) {
  KeyOnLine key;
  size_t key_start = 0;
  char quote = 0;
  for (size_t i = 0; i < offset && i < line.size(); ++i) {
    char c = line[i];
    if (quote != 0) {
      if (c == '\\' && quote == '"') {
        ++i;
      } else if (c == quote) {
        quote = 0;
      }
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '{' || c == ',' || c == '[') {
      key_start = i + 1;
    } else if (c == '=') {
      key = KeyOnLine{Trim(line.substr(key_start, i - key_start)), key_start != 0, true};
      key_start = i + 1;
    }
  }
  return key;
}

// The parts of a key as written ("a.\"b c\"" is a and b c), read as the
// scan reads a header.
std::vector<std::string> KeyParts(std::string_view key) {
  SourceScan scan = ScanSource("[" + std::string(key) + "]");
  if (scan.headers.empty()) return {std::string(key)};
  return scan.headers[0].path;
}

std::string Joined(const std::vector<std::string>& parts) {
  std::string out;
  for (const std::string& part : parts) out += (out.empty() ? "" : ".") + ShownKeyPart(part);
  return out;
}

std::string ShownKey(const std::vector<std::string>& parts) {
  return "\"" + (parts.size() == 1 ? parts[0] : Joined(parts)) + "\"";
}

std::string ShownHeader(const ScannedHeader& header) {
  std::string brackets = header.array ? "[[" : "[";
  return brackets + Joined(header.path) + (header.array ? "]]" : "]");
}

// The header a line stands under, or the header on it.
const ScannedHeader* HeaderAt(const SourceScan& scan, int line, bool on_the_line) {
  const ScannedHeader* found = nullptr;
  for (const ScannedHeader& header : scan.headers) {
    if (header.spot.line > line || (header.spot.line == line && !on_the_line)) break;
    found = &header;
  }
  if (on_the_line && found != nullptr && found->spot.line != line) return nullptr;
  return found;
}

// The line a key or table was first given at: the library reads the
// source up to the line of the second, and the path is looked up in it (in
// the last of a list of tables, such as the leg being read).
std::optional<int> FirstGiven(std::string_view text, int line,
                              const std::vector<std::string>& path) {
  size_t end = 0;
  for (int i = 1; i < line && end != std::string_view::npos; ++i) {
    end = text.find('\n', end);
    if (end != std::string_view::npos) ++end;
  }
  if (end == std::string_view::npos || path.empty()) return std::nullopt;
  try {
    toml::table root = toml::parse(text.substr(0, end));
    const toml::node* node = &root;
    for (const std::string& part : path) {
      if (const toml::array* list = node->as_array(); list != nullptr && !list->empty()) {
        node = list->back().as_table();
      }
      const toml::table* table = node != nullptr ? node->as_table() : nullptr;
      node = table != nullptr ? table->get(part) : nullptr;
      if (node == nullptr) return std::nullopt;
    }
    return static_cast<int>(node->source().begin.line);
  } catch (const toml::parse_error&) {
    return std::nullopt;
  }
}

std::string FirstAt(std::optional<int> line) {
  return line ? " (first at line " + std::to_string(*line) + ")" : "";
}

std::string Unclosed(const SourceScan& scan) {
  if (scan.open_quote.size() == 3) {
    return "this text has no closing " + scan.open_quote + ": it runs to the end of the file";
  }
  std::string three(3, scan.open_quote[0]);
  return "this text has no closing " + scan.open_quote +
         ": a text ends on the line it starts on (" + three + " opens a text of several lines)";
}

// "cannot redefine existing table 'leg' as array-of-tables": of a header.
PlacedMessage HeaderGivenTwice(std::string_view text, const SourceScan& scan,
                               std::string_view detail, SourceSpot at) {
  const ScannedHeader* header = HeaderAt(scan, at.line, true);
  if (header == nullptr) return {at, "a table is given twice"};
  std::optional<int> first = FirstGiven(text, at.line, header->path);
  std::string shown = ShownHeader(*header);
  if (!Contains(detail, " as ")) return {header->spot, shown + " is given twice" + FirstAt(first)};
  std::string was = Contains(detail, "existing table")   ? "a table"
                    : Contains(detail, "existing array") ? "a list"
                                                         : "a value";
  std::string wanted = header->array ? "a list of tables" : "a table";
  std::string where = first ? " (line " + std::to_string(*first) + ")" : "";
  return {header->spot, shown + ": " + ShownKey({header->path.back()}) + " is already " + was +
                            where + ", and cannot also be " + wanted};
}

PlacedMessage KeyGivenTwice(std::string_view text, const SourceScan& scan, std::string_view line,
                            size_t offset, SourceSpot at) {
  KeyOnLine key = KeyBefore(line, offset);
  if (!key.found) return {at, "a key is given twice"};
  std::vector<std::string> parts = KeyParts(key.text);
  const ScannedHeader* header = HeaderAt(scan, at.line, false);
  std::string where = key.nested          ? " in the same { } table"
                      : header != nullptr ? " in " + ShownHeader(*header)
                                          : "";
  std::string first;
  if (!key.nested) {
    std::vector<std::string> path = header != nullptr ? header->path : std::vector<std::string>{};
    path.insert(path.end(), parts.begin(), parts.end());
    first = FirstAt(FirstGiven(text, at.line, path));
  }
  return {at, ShownKey(parts) + " is given twice" + where + first};
}

std::string KeyPrefix(std::string_view line, size_t offset) {
  KeyOnLine key = KeyBefore(line, offset);
  return key.found && !key.text.empty() ? ShownKey(KeyParts(key.text)) + ": " : "";
}

// The value the library could not read: up to the next comma, bracket,
// comment or the line's end.
std::string_view ValueAt(std::string_view line, size_t offset) {
  std::string_view rest = line.substr(std::min(offset, line.size()));
  return Trim(rest.substr(0, rest.find_first_of(",]}#")));
}

PlacedMessage NotAValue(std::string_view line, size_t offset, SourceSpot at) {
  std::string value(ValueAt(line, offset));
  return {at, KeyPrefix(line, offset) + value +
                  " is not a value: a text is written in double quotes (\"" + value +
                  "\"); numbers, true and false, [lists] and { tables } without"};
}

// "size = 600 m": the library read 600 and stopped at m.
PlacedMessage TwoValues(std::string_view line, size_t offset, SourceSpot at) {
  size_t equals = line.rfind('=', offset);
  std::string_view before =
      Trim(line.substr(equals == std::string_view::npos ? 0 : equals + 1,
                       offset - (equals == std::string_view::npos ? 0 : equals + 1)));
  std::string_view after = ValueAt(line, offset);
  std::string prefix = KeyPrefix(line, offset);
  bool number = !before.empty() && (std::isdigit(static_cast<unsigned char>(before[0])) ||
                                    before[0] == '-' || before[0] == '+' || before[0] == '.');
  if (number) {
    std::string both = std::string(before) + " " + std::string(after);
    return {at, prefix + both + " is not one value: a value with its unit is a text in double " +
                    "quotes (\"" + both + "\")"};
  }
  return {at, prefix + "after the value " + std::string(before) + " comes " + std::string(after) +
                  ": a line holds one key and its value, and a comment starts with #"};
}

PlacedMessage MissingEquals(std::string_view line, size_t offset, SourceSpot at) {
  std::string_view before = line.substr(0, std::min(offset, line.size()));
  size_t start = before.find_last_of("{,");
  std::string key(Trim(start == std::string_view::npos ? before : before.substr(start + 1)));
  return {at, "expected \"=\" after the key \"" + key + "\" (a line is KEY = VALUE)"};
}

bool IsStringScope(std::string_view scope) {
  return scope == "string" || scope == "literal string" || scope == "unicode scalar sequence";
}

bool IsValueScope(std::string_view scope) {
  for (std::string_view other : {"array", "comment", "inline table", "key", "key-value pair",
                                 "root table", "table header"}) {
    if (scope == other) return false;
  }
  return !IsStringScope(scope);
}

}  // namespace

PlacedMessage TranslateSyntaxError(std::string_view text, const SourceScan& scan,
                                   std::string_view description, SourceSpot at) {
  // "Error while parsing SCOPE: DETAIL"
  constexpr std::string_view kLead = "Error while parsing ";
  std::string_view scope, detail = description;
  size_t colon = description.find(": ");
  if (description.substr(0, kLead.size()) == kLead && colon != std::string_view::npos) {
    scope = description.substr(kLead.size(), colon - kLead.size());
    detail = description.substr(colon + 2);
  }
  std::string_view line = LineOf(text, at.line);
  size_t offset = ColumnOffset(line, at.column);
  char here = offset < line.size() ? line[offset] : '\n';
  bool line_ends = here == '\n' || here == '\r';

  if (IsStringScope(scope)) {
    bool open = scan.open_text && scan.open_text->line <= at.line;
    if (open && (Contains(detail, "end-of-file") || line_ends)) {
      return {*scan.open_text, Unclosed(scan)};
    }
    if (Contains(detail, "escape sequence")) {
      return {at,
              "a backslash in a text in double quotes starts one of \\\" \\\\ \\n \\t \\uXXXX; "
              "write a voice prompt's path in single quotes, 'ADV\\RALLY\\Start'"};
    }
    if (Contains(detail, "control characters")) {
      return {
          at,
          "a text cannot hold control characters but the tab as they are: write them as \\uXXXX"};
    }
  }
  if (Contains(detail, "cannot redefine existing")) {
    if (scope == "table header") return HeaderGivenTwice(text, scan, detail, at);
    return KeyGivenTwice(text, scan, line, offset, at);
  }
  if (Contains(detail, "expected '='")) return MissingEquals(line, offset, at);
  if (Contains(detail, "expected value, saw") && (line_ends || here == '#')) {
    return {at, KeyPrefix(line, offset) + "the value after \"=\" is missing"};
  }
  if (Contains(detail, "expected a comment or whitespace") && scope == "key-value pair") {
    return TwoValues(line, offset, at);
  }
  if (IsValueScope(scope) || Contains(detail, "expected value, saw")) {
    return NotAValue(line, offset, at);
  }
  if (scope == "inline table" && line_ends) {
    return {at, "a { } table is written on one line, and ends with }"};
  }
  if (Contains(detail, "end-of-file") && (scope == "array" || scope == "inline table")) {
    return {at, std::string("the file ends before this ") +
                    (scope == "array" ? "list [ ]" : "{ } table") + " is closed"};
  }
  return {at, "not TOML here: " + std::string(description)};
}
