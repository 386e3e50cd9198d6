#pragma once

#include <string>
#include <vector>

#include "tools/aerilon-course/diagnostics.h"
#include "tools/aerilon-scenery/island/island.h"

// Reads an island source (TOML, in the conventions of a course source:
// the designer's units, named places, errors at their lines). Its
// `courses` name course sources whose [places] are the island's places
// too; `places_of` gives each one's [places] table as TOML text (the
// loader reads the files). False with the reasons when it cannot be read.
bool ReadIslandSource(const std::string& text, const std::string& file, Island* island,
                      std::vector<Diagnostic>* diagnostics);

// Reads an island source file and the course sources it names (relative to
// its folder).
bool LoadIsland(const std::string& path, Island* island, std::vector<Diagnostic>* diagnostics);
