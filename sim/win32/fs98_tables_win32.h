#pragma once

#include "rally/host/import_table.h"
#include "sim/sim_host.h"

// The stand-in host in the simulator's own layout, for 32-bit test hosts
// that load the real RALLY.DLL: function tables holding __stdcall routines
// at the simulator's byte offsets, each forwarding to the host's HostOps so
// that every call lands in host.calls exactly as it does natively.
//
// One host is served at a time. Filling an ImportTable makes `host` the
// served one; the tables stay valid for the whole process.

// Sets each entry's module pointer, up to the {0, 0} end, to the table or
// block of its module id: the function tables for 1, 3, 4, 0x16 and 0x27
// and host.state for 2. False (that entry and the rest left as they were)
// at an id the simulator does not provide.
bool FillFs98ImportTable(ImportEntry* table, SimHost& host);

// Ends serving: a call through the tables from now on stops the process
// with a message, since it would otherwise reach a host that is gone.
void StopServingFs98Host();
