#pragma once

// Whether a file name matches a folder-listing pattern in the manner of the
// Windows file system: "*" stands for any run of characters, "?" for any one
// character, and letters match regardless of case ("*.BGL" matches
// "town.bgl").
bool MatchFilePattern(const char* pattern, const char* name);
