#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sim/sim_host.h"

// Reading the two logs a case produces: the stand-in host's calls
// (host.calls) and the DLL's recorded Win32 calls.

std::string Hex(uintptr_t value);

// The host calls from index `from` on, for messages.
std::string DescribeSimCalls(const SimHost& host, size_t from = 0);

// A register_callback or unregister_callback call for this kind and routine.
bool IsCallbackCall(const SimCall& call, const char* op, int32_t kind, uintptr_t routine);

// Whether the host calls from `from` on are exactly these callback calls.
struct ExpectedCallback {
  const char* op;
  int32_t kind;
  uintptr_t routine;
};
bool HostCallsAre(const SimHost& host, size_t from, const std::vector<ExpectedCallback>& expected);

// The heap as the recorded calls from index `from` on saw it: the blocks
// GlobalAlloc handed out and the ones GlobalFree was given.
struct HeapTraffic {
  std::vector<uintptr_t> allocated;  // failed allocations (0) included
  std::vector<uintptr_t> freed;
  bool every_free_succeeded;  // GlobalFree returns null on success
};
HeapTraffic HeapTrafficSince(size_t from);

// Empty when every block in `allocated` (none of them null) was freed
// exactly once and nothing else was freed; otherwise what is wrong.
std::string UnbalancedHeap(const std::vector<uintptr_t>& allocated, const HeapTraffic& frees);
