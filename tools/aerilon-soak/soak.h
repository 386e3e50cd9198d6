#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "tools/aerilon-soak/soak_invariants.h"
#include "tools/aerilon-soak/soak_module_run.h"

struct SoakOptions {
  int64_t ticks = 1000000;
  uint32_t seed = 1;
  int32_t courses = 4;        // generated courses, flown in turn with the sample course
  int64_t run_ticks = 25000;  // ticks of one module run, before the restart on the next course
};

struct SoakReport {
  SoakCounts counts;
  int32_t courses_flown = 0;
  double wall_seconds = 0;
  std::optional<SoakViolation> violation;
  std::string where;  // the module run and course of the violation
};

// Flies the soak: module runs of run_ticks each, alternating the sample
// course and the generated ones (each in a simulator folder of its own,
// whose score file is between runs removed, made read-only, made writable
// again or left as it is), until `ticks` ticks have run or an invariant
// breaks. The folders live in the system's temporary folder and are
// removed afterwards.
SoakReport RunSoak(const SoakOptions& options);
