#pragma once

#include <cstdint>

#include "rally/host/stdcall.h"

// The two records the simulator binds to. Both are 32-bit layouts: the
// simulator reads Linkage and fills the module pointers of ImportTable
// before it calls ModuleInit.
struct ImportEntry {
  uint32_t module_id;
  uint32_t module_pointer;  // 0 in the file
};
constexpr int kImportEntries = 7;  // six modules and the {0, 0} end

typedef int32_t(RALLY_STDCALL* ModuleInitRoutine)();
typedef void(RALLY_STDCALL* ModuleDeinitRoutine)();

struct LinkageRecord {
  uint32_t version;  // 0x1000
  ModuleInitRoutine init;
  ModuleDeinitRoutine deinit;
  uint32_t reserved[3];  // 0
};
