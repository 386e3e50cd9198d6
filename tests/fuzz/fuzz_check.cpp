#include <cstdio>
#include <cstdlib>

#include "tests/fuzz/fuzz_targets.h"

void FuzzCheck(bool holds, const char* rule) {
  if (holds) return;
  std::fprintf(stderr, "fuzz target rule broken: %s\n", rule);
  std::abort();
}
