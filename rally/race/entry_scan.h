#pragma once

#include <cstdint>

struct RallyModule;

// Out of a leg, the engine looks at every entry of the course in order:
// while armed, a start box entered in the right direction starts its leg;
// in or out of the race, a bonus object may start an approach.
enum class ScanResult {
  kNothing,     // the record loop ends; no per-tick tail
  kLegStarted,  // the record dispatch runs the new leg in this same tick
};
ScanResult ScanEntries(RallyModule& m);
