// The libFuzzer program of one target, named by AERILON_FUZZ_ENTRY.
#include "tests/fuzz/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return AERILON_FUZZ_ENTRY(data, size);
}
