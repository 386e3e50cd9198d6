#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads a tool's input whole: a course source, a course file, a score
// file, a flight script. Only a regular file (or a symbolic link to one) is
// read; a folder, a named pipe, a device or a socket is refused by its kind
// before it is opened, so that nothing blocks on a pipe that no one writes.
// False with what is wrong in *problem, ready to follow "FILE: error: ":
// "cannot be opened: No such file or directory", "cannot be read: it is a
// folder, not a file".
bool ReadInputFile(const std::string& path, std::vector<uint8_t>* bytes, std::string* problem);
bool ReadInputText(const std::string& path, std::string* text, std::string* problem);
