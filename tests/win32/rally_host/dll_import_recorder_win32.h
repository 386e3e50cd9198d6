#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// The window-side and heap calls a loaded RALLY.DLL makes, seen through its
// import address table: each one is logged, in order, and passed on to the
// real function.
struct WinCall {
  std::string function;            // "GetModuleHandleA", "fopen", ...
  std::vector<uintptr_t> args;     // as passed; a string argument as its address
  std::vector<std::string> texts;  // the string arguments' contents ("" for null)
  uintptr_t result;
};

// Puts the recorders in front of the module's GetModuleHandleA, FindWindowA,
// GetWindowLongA, SetWindowLongA, GlobalAlloc, GlobalFree, fopen and
// DialogBoxParamA. Throws
// std::runtime_error naming an import the module does not have.
void RecordDllImports(HMODULE dll);

std::vector<WinCall>& RecordedWinCalls();

// The calls from index `from` on, named with their arguments, for messages.
std::string DescribeWinCalls(const std::vector<WinCall>& calls, size_t from = 0);
// The calls from index `from` on that went to `function`.
std::vector<WinCall> WinCallsTo(const std::string& function, size_t from = 0);
