#include "tests/win32/rally_host/dll_import_recorder_win32.h"

#include <cstdio>
#include <stdexcept>

#include "tests/win32/import_patch_win32.h"

namespace {

typedef HMODULE(WINAPI* GetModuleHandleFn)(LPCSTR);
typedef HWND(WINAPI* FindWindowFn)(LPCSTR, LPCSTR);
typedef LONG(WINAPI* GetWindowLongFn)(HWND, int);
typedef LONG(WINAPI* SetWindowLongFn)(HWND, int, LONG);
typedef HGLOBAL(WINAPI* GlobalAllocFn)(UINT, SIZE_T);
typedef HGLOBAL(WINAPI* GlobalFreeFn)(HGLOBAL);
typedef FILE*(__cdecl* FopenFn)(const char*, const char*);
typedef INT_PTR(WINAPI* DialogBoxParamFn)(HINSTANCE, LPCSTR, HWND, DLGPROC, LPARAM);

struct RealFunctions {
  GetModuleHandleFn get_module_handle;
  FindWindowFn find_window;
  GetWindowLongFn get_window_long;
  SetWindowLongFn set_window_long;
  GlobalAllocFn global_alloc;
  GlobalFreeFn global_free;
  FopenFn fopen;
  DialogBoxParamFn dialog_box_param;
};

RealFunctions g_real;
std::vector<WinCall> g_calls;

uintptr_t Value(const void* handle_or_pointer) {
  return reinterpret_cast<uintptr_t>(handle_or_pointer);
}
// A negative word (GWL_WNDPROC) keeps its 32-bit pattern.
uintptr_t Value(long long word) {
  return static_cast<uintptr_t>(word);
}

std::string Text(const char* s) {
  return s == nullptr ? std::string() : std::string(s);
}

HMODULE WINAPI RecordGetModuleHandleA(LPCSTR name) {
  HMODULE result = g_real.get_module_handle(name);
  g_calls.push_back(WinCall{"GetModuleHandleA", {Value(name)}, {Text(name)}, Value(result)});
  return result;
}

HWND WINAPI RecordFindWindowA(LPCSTR class_name, LPCSTR title) {
  HWND result = g_real.find_window(class_name, title);
  g_calls.push_back(WinCall{"FindWindowA",
                            {Value(class_name), Value(title)},
                            {Text(class_name), Text(title)},
                            Value(result)});
  return result;
}

LONG WINAPI RecordGetWindowLongA(HWND window, int index) {
  LONG result = g_real.get_window_long(window, index);
  g_calls.push_back(WinCall{"GetWindowLongA", {Value(window), Value(index)}, {}, Value(result)});
  return result;
}

LONG WINAPI RecordSetWindowLongA(HWND window, int index, LONG value) {
  LONG result = g_real.set_window_long(window, index, value);
  g_calls.push_back(
      WinCall{"SetWindowLongA", {Value(window), Value(index), Value(value)}, {}, Value(result)});
  return result;
}

HGLOBAL WINAPI RecordGlobalAlloc(UINT flags, SIZE_T size) {
  HGLOBAL result = g_real.global_alloc(flags, size);
  g_calls.push_back(WinCall{"GlobalAlloc", {Value(flags), Value(size)}, {}, Value(result)});
  return result;
}

HGLOBAL WINAPI RecordGlobalFree(HGLOBAL block) {
  HGLOBAL result = g_real.global_free(block);
  g_calls.push_back(WinCall{"GlobalFree", {Value(block)}, {}, Value(result)});
  return result;
}

FILE* __cdecl RecordFopen(const char* path, const char* mode) {
  FILE* result = g_real.fopen(path, mode);
  g_calls.push_back(
      WinCall{"fopen", {Value(path), Value(mode)}, {Text(path), Text(mode)}, Value(result)});
  return result;
}

// Logged when the dialog has closed; the template is a resource number.
INT_PTR WINAPI RecordDialogBoxParamA(HINSTANCE instance, LPCSTR name, HWND owner, DLGPROC procedure,
                                     LPARAM param) {
  INT_PTR result = g_real.dialog_box_param(instance, name, owner, procedure, param);
  g_calls.push_back(WinCall{"DialogBoxParamA",
                            {Value(instance), Value(name), Value(owner),
                             Value(reinterpret_cast<void*>(procedure)), Value(param)},
                            {},
                            static_cast<uintptr_t>(result)});
  return result;
}

template <typename Fn>
void Redirect(HMODULE dll, const char* dll_name, const char* function, Fn recorder, Fn* real) {
  void* previous = ReplaceImport(dll, dll_name, function, reinterpret_cast<void*>(recorder));
  if (previous == nullptr) {
    throw std::runtime_error(std::string("RALLY.DLL does not import ") + dll_name + "!" + function);
  }
  *real = reinterpret_cast<Fn>(previous);
}

std::string Hex(uintptr_t v) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(v));
  return text;
}

std::string Describe(const WinCall& c) {
  std::string s = c.function + "(";
  for (size_t i = 0; i < c.args.size(); ++i) {
    if (i > 0) s += ", ";
    bool is_text = i < c.texts.size();
    s += is_text && c.args[i] != 0 ? "\"" + c.texts[i] + "\"" : Hex(c.args[i]);
  }
  return s + ") = " + Hex(c.result);
}

}  // namespace

void RecordDllImports(HMODULE dll) {
  Redirect(dll, "KERNEL32.dll", "GetModuleHandleA", &RecordGetModuleHandleA,
           &g_real.get_module_handle);
  Redirect(dll, "USER32.dll", "FindWindowA", &RecordFindWindowA, &g_real.find_window);
  Redirect(dll, "USER32.dll", "GetWindowLongA", &RecordGetWindowLongA, &g_real.get_window_long);
  Redirect(dll, "USER32.dll", "SetWindowLongA", &RecordSetWindowLongA, &g_real.set_window_long);
  Redirect(dll, "KERNEL32.dll", "GlobalAlloc", &RecordGlobalAlloc, &g_real.global_alloc);
  Redirect(dll, "KERNEL32.dll", "GlobalFree", &RecordGlobalFree, &g_real.global_free);
  Redirect(dll, "msvcrt.dll", "fopen", &RecordFopen, &g_real.fopen);
  Redirect(dll, "USER32.dll", "DialogBoxParamA", &RecordDialogBoxParamA, &g_real.dialog_box_param);
}

std::vector<WinCall>& RecordedWinCalls() {
  return g_calls;
}

std::string DescribeWinCalls(const std::vector<WinCall>& calls, size_t from) {
  std::string s;
  for (size_t i = from; i < calls.size(); ++i) {
    if (!s.empty()) s += ", ";
    s += Describe(calls[i]);
  }
  return s.empty() ? "no call" : s;
}

std::vector<WinCall> WinCallsTo(const std::string& function, size_t from) {
  std::vector<WinCall> found;
  for (size_t i = from; i < g_calls.size(); ++i) {
    if (g_calls[i].function == function) found.push_back(g_calls[i]);
  }
  return found;
}
