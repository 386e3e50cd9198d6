#pragma once

#include <cstdint>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>

#include "sim/sim_host.h"

// The transcript of a run: one JSON object per call of the module that the
// pilot or a tester can observe, in call order, each with its tick, and a
// closing summary. The README describes every line.
using TranscriptLine = nlohmann::ordered_json;

// What the transcript needs to name things: the module's routines by
// address and the command identifier of the popup's slot 0.
struct TranscriptNames {
  std::map<uintptr_t, std::string> routines;
  uint32_t command_base = 0;
};

// The line of one logged call; none for calls the transcript leaves out
// (distance queries, sound levels, window and registry calls).
std::optional<TranscriptLine> ObservedCallLine(const SimCall& call, const TranscriptNames& names);

void WriteJsonLine(std::ostream& out, const TranscriptLine& line);
