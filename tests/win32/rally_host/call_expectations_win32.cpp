#include "tests/win32/rally_host/call_expectations_win32.h"

#include <algorithm>
#include <cstdio>

#include "tests/win32/rally_host/dll_import_recorder_win32.h"

std::string Hex(uintptr_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(value));
  return text;
}

std::string DescribeSimCalls(const SimHost& host, size_t from) {
  std::string s;
  for (size_t i = from; i < host.calls.size(); ++i) {
    const SimCall& c = host.calls[i];
    if (!s.empty()) s += ", ";
    s += c.op + "(";
    for (size_t k = 0; k < c.args.size(); ++k) s += (k ? ", " : "") + std::to_string(c.args[k]);
    if (!c.text.empty()) s += ", \"" + c.text + "\"";
    if (c.routine != 0) s += ", " + Hex(c.routine);
    s += ")";
  }
  return s.empty() ? "no host call" : s;
}

bool IsCallbackCall(const SimCall& call, const char* op, int32_t kind, uintptr_t routine) {
  return call.op == op && call.args.size() == 1 && call.args[0] == kind && call.routine == routine;
}

bool HostCallsAre(const SimHost& host, size_t from, const std::vector<ExpectedCallback>& expected) {
  if (host.calls.size() - from != expected.size()) return false;
  for (size_t i = 0; i < expected.size(); ++i) {
    const ExpectedCallback& e = expected[i];
    if (!IsCallbackCall(host.calls[from + i], e.op, e.kind, e.routine)) return false;
  }
  return true;
}

HeapTraffic HeapTrafficSince(size_t from) {
  HeapTraffic t{{}, {}, true};
  const std::vector<WinCall>& calls = RecordedWinCalls();
  for (size_t i = from; i < calls.size(); ++i) {
    if (calls[i].function == "GlobalAlloc") t.allocated.push_back(calls[i].result);
    if (calls[i].function == "GlobalFree") {
      t.freed.push_back(calls[i].args[0]);
      if (calls[i].result != 0) t.every_free_succeeded = false;
    }
  }
  return t;
}

std::string UnbalancedHeap(const std::vector<uintptr_t>& allocated, const HeapTraffic& frees) {
  std::string problems;
  auto add = [&](const std::string& p) { problems += (problems.empty() ? "" : "; ") + p; };
  for (uintptr_t block : allocated) {
    if (block == 0) {
      add("a GlobalAlloc failed");
      continue;
    }
    auto n = std::count(frees.freed.begin(), frees.freed.end(), block);
    if (n != 1) add("block " + Hex(block) + " freed " + std::to_string(n) + " times");
  }
  for (uintptr_t block : frees.freed) {
    if (std::count(allocated.begin(), allocated.end(), block) == 0) {
      add("GlobalFree(" + Hex(block) + ") of a block it did not allocate");
    }
  }
  if (!frees.every_free_succeeded) add("a GlobalFree failed");
  return problems;
}
