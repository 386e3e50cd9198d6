#pragma once

#include <cstdint>

// Turns the course file's path into the score file's, in place: everything
// from the last "." of the file name on becomes ".SCO" ("ADV\RALLY\Rally.DAT"
// gives "ADV\RALLY\Rally.SCO"). A name without a "." gets ".SCO" appended.
// False, and the path unchanged, when the result would not fit.
bool DeriveScorePath(char* path, uint32_t capacity);
