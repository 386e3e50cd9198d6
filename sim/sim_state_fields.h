#pragma once

#include <cstdint>
#include <vector>

#include "sim/sim_host.h"

// The named fields of the sim_state block, in offset order, for telling
// what a module call wrote.
struct SimStateField {
  const char* name;
  uint32_t offset;
  uint32_t width;  // bytes: 1, 2, 4 or 8
  bool is_signed;
};
const std::vector<SimStateField>& SimStateFields();

// The fields whose bytes differ between two copies of the block, with the
// new values, in offset order. A changed byte outside every named field is
// reported on its own, as "byte_0x0123".
std::vector<SimFieldValue> ChangedStateFields(const uint8_t* before, const uint8_t* after);
