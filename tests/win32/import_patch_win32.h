#pragma once

#include <windows.h>

// Redirects one imported function of a loaded module: the cell of the
// module's import address table that the loader filled for
// dll_name!function_name now holds `replacement`. The module's own calls go
// through that cell, so they reach the replacement; nobody else's do.
// Returns what the cell held (the real function), or null when the module
// does not import that function by name.
void* ReplaceImport(HMODULE module, const char* dll_name, const char* function_name,
                    void* replacement);
