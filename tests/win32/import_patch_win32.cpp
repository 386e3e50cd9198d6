#include "tests/win32/import_patch_win32.h"

#include <cstring>

namespace {

const IMAGE_NT_HEADERS* NtHeaders(const BYTE* base) {
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  return reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
}

// Writes a cell of the import address table, which the loader may have
// left read-only.
void* SwapCell(IMAGE_THUNK_DATA* cell, void* replacement) {
  DWORD old_protection = 0;
  if (!VirtualProtect(cell, sizeof *cell, PAGE_READWRITE, &old_protection)) return nullptr;
  void* previous = reinterpret_cast<void*>(cell->u1.Function);
  cell->u1.Function = reinterpret_cast<DWORD>(replacement);
  VirtualProtect(cell, sizeof *cell, old_protection, &old_protection);
  return previous;
}

// The names come from the lookup table (OriginalFirstThunk), since the
// cells themselves (FirstThunk) now hold addresses.
void* ReplaceInDescriptor(BYTE* base, const IMAGE_IMPORT_DESCRIPTOR& d, const char* function_name,
                          void* replacement) {
  if (d.OriginalFirstThunk == 0) return nullptr;
  auto* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + d.OriginalFirstThunk);
  auto* cells = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d.FirstThunk);
  for (; names->u1.AddressOfData != 0; ++names, ++cells) {
    if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
    const auto* by_name =
        reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
    if (std::strcmp(reinterpret_cast<const char*>(by_name->Name), function_name) == 0) {
      return SwapCell(cells, replacement);
    }
  }
  return nullptr;
}

}  // namespace

void* ReplaceImport(HMODULE module, const char* dll_name, const char* function_name,
                    void* replacement) {
  auto* base = reinterpret_cast<BYTE*>(module);
  const IMAGE_DATA_DIRECTORY& directory =
      NtHeaders(base)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (directory.VirtualAddress == 0 || directory.Size == 0) return nullptr;
  auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
  for (; d->Name != 0; ++d) {
    if (_stricmp(reinterpret_cast<const char*>(base + d->Name), dll_name) != 0) continue;
    if (void* real = ReplaceInDescriptor(base, *d, function_name, replacement)) return real;
  }
  return nullptr;
}
