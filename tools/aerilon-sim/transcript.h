#pragma once

#include <cstdint>
#include <map>
#include <ostream>
#include <string>

#include "sim/sim_host.h"

// The transcript of a run: JSON lines, one per call the module made to the
// host or the window, and one per step the host took (init, deinit).
struct Transcript {
  std::ostream* out;
  std::map<uintptr_t, std::string> routine_names;  // the module's entry points by address
  size_t calls_written = 0;                         // of SimHost::calls
};

// Writes the calls logged since the last flush.
void FlushCalls(Transcript& t, const SimHost& host);
// A step the host takes (it calls ModuleInit), and what that step returned.
void WriteHostStep(Transcript& t, int64_t tick, const std::string& step);
void WriteHostReturn(Transcript& t, int64_t tick, const std::string& step, int64_t result);

// Course texts are Windows Latin-1; JSON wants UTF-8.
std::string Latin1ToUtf8(const std::string& latin1);
