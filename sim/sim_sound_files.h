#pragma once

#include <string>

// Whether the sound file of a voice prompt exists under the simulator
// folder: the prompt name ("ADV\RALLY\Start") with ".wav" added, its
// backslashes taken as folder separators and its letters matched in any
// case, as on the simulator's own file system.
bool SimSoundFileExists(const std::string& root, const std::string& prompt_name);
