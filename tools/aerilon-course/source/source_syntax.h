#pragma once

#include <string_view>

#include "tools/aerilon-course/source/source_scan.h"

// The TOML library's refusal of a source (its description, such as "Error
// while parsing key-value pair: expected '=', saw '\n'", and where it
// stopped) told in a designer's words at the right place: a text without
// its closing quote (where the text starts), a key without "=" or without
// a value, a value that is none (a text without its quotes, a number with
// its unit), a key or table given twice (with the line it was first given
// at), and a backslash in a text in double quotes.
PlacedMessage TranslateSyntaxError(std::string_view text, const SourceScan& scan,
                                   std::string_view description, SourceSpot at);
