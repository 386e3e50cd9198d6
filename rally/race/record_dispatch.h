#pragma once

struct RallyModule;

// One step of the record loop inside a leg or an approach: the record at
// the record pointer is executed or tested.
enum class DispatchStep {
  kNextRecord,  // go on with the loop in this tick
  kTickTail,    // a target or an approach waits: the per-tick tail runs
  kTickDone,    // an approach waits in the inner box: no per-tick tail
};
DispatchStep DispatchRecord(RallyModule& m);
