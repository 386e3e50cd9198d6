// A DLL that breaks every rule the PE check enforces, built only to show
// that the check rejects each fault: a third export, an import from
// GDI32, C runtime start-up code (which brings a TLS directory), and a
// global that needs a constructor.
#include <windows.h>

namespace {

struct NeedsConstructor {
  NeedsConstructor() : ticks(GetTickCount()) {}
  DWORD ticks;
};

NeedsConstructor g_built_at_load;

}  // namespace

extern "C" {
__declspec(dllexport) unsigned Linkage[6] = {0x1000, 0, 0, 0, 0, 0};
__declspec(dllexport) unsigned ImportTable[14] = {};
__declspec(dllexport) DWORD ExtraExport() {
  return g_built_at_load.ticks + static_cast<DWORD>(GetStockObject(WHITE_BRUSH) != nullptr);
}
}
