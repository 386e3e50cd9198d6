// The DLL's own exit list. Without C runtime start-up code the DLL has none,
// and atexit would otherwise come from msvcrt.dll, whose list is the
// process's: the C runtime's number conversions register a clean-up there
// on first use, and once the setup or the uninstaller unloads the DLL, the
// process would call into freed code as it ends. This definition comes
// before the import library's, so every atexit inside the DLL lands here.
#include "sceneward/win32/dll_exit_list_win32.h"

namespace {

constexpr int kExitSlots = 16;
void (*exit_functions[kExitSlots])();  // zero at load, in .bss
int exit_count;

}  // namespace

extern "C" int atexit(void (*function)()) {
  if (exit_count == kExitSlots) return -1;
  exit_functions[exit_count++] = function;
  return 0;
}

void RunDllExitList() {
  while (exit_count > 0) exit_functions[--exit_count]();
}
