#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/aerilon-course/course_document.h"

// A first look at a course source's text before the TOML library reads it:
// it finds the table headers with their lines, the text left open where a
// closing quote is missing, and what the library must not be given. The
// library builds one table in another for every part of a dotted key and
// every bracket, and goes down them by recursion: a key of 40,000 parts
// overflows its stack. So a source is refused beyond these limits, far
// above any course (a course's keys have at most 5 parts, counting the
// tables and brackets around them; a course of a hundred thousand objects
// is some 35 MB).
constexpr size_t kMaxSourceBytes = size_t{64} << 20;
constexpr int kMaxKeyParts = 64;

struct ScannedHeader {
  std::vector<std::string> path;  // [leg.start] is {"leg", "start"}
  bool array = false;             // [[leg]]
  SourceSpot spot;                // of its first part
};

// A message for the designer at its place in the source.
struct PlacedMessage {
  SourceSpot spot;
  std::string message;
};

struct SourceScan {
  std::vector<ScannedHeader> headers;
  std::vector<PlacedMessage> refusals;  // over the limits: not for the library
  // The first text whose closing quote is missing, and its quote.
  std::optional<SourceSpot> open_text;
  std::string open_quote;
};

SourceScan ScanSource(std::string_view text);

// The line (from 1) of the text, without its line break, and the byte
// offset of a column (from 1, counting characters) in it.
std::string_view LineOf(std::string_view text, int line);
size_t ColumnOffset(std::string_view line, int column);
// A key part as a designer reads it: bare when it can be, else quoted.
std::string ShownKeyPart(const std::string& part);
