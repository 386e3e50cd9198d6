#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Whether a file given as a pilot's score file can be one. The module reads
// any bytes as scores (a file shorter than the 728-byte block as none at
// all), so a course file or a course source given by mistake would be told
// as nonsense. Refused are: a course file (it unscrambles to "VESK RALLY");
// a text file (no NUL byte, only text characters), which a score file with
// its scrambled block and NUL-terminated names never is; and a block with a
// value the module never writes: a negative take counter, a quiz state
// other than 0, 1 and 3, or a leg record that is not all zero whose total is
// not above 0 or not the sum of its parts.
// Nothing when the file may be a score file; otherwise why not, ready to
// follow "FILE: error: ".
std::optional<std::string> NotAScoreFile(const std::vector<uint8_t>& bytes);
