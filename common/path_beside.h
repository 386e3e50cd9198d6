#pragma once

#include <cstdint>

// `path` with its last component replaced by `name`, into out; false if it
// does not fit. Both '\' and '/' end a folder; a name of "" gives the
// folder itself, with its separator.
bool PathBeside(const char* path, const char* name, char* out, uint32_t out_size);
