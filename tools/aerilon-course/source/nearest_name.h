#pragma once

#include <optional>
#include <string>
#include <vector>

// The known name a misspelt one was most likely meant to be ("spped_min"
// for "speed_min", "legs" for "leg"): the nearest by edit distance (a
// letter added, dropped, changed or two swapped), when it is near enough
// for the word's length; the first of the nearest on a tie.
std::optional<std::string> NearestName(const std::string& word,
                                       const std::vector<std::string>& names);
