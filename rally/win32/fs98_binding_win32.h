#pragma once

#include "rally/host/host_interface.h"
#include "rally/host/import_table.h"

// Host operations through the simulator's own function tables, reached via
// the module pointers of the ImportTable. False when the simulator left a
// module pointer empty: the module then stays inert rather than call through 0.
bool BindFs98Host(const ImportEntry* table, HostOps* ops);
