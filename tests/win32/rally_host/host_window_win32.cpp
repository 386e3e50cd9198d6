#include "tests/win32/rally_host/host_window_win32.h"

#include <stdexcept>
#include <string>

namespace {

constexpr char kClassName[] = "FS98MAIN";
int g_probes = 0;
WPARAM g_last_probe_param = 0;
std::vector<HostMessage> g_messages;

bool IsRecorded(UINT message) {
  return message == WM_COMMAND || message == WM_ENTERMENULOOP || message == WM_EXITMENULOOP;
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == kProbeMessage) {
    g_probes += 1;
    g_last_probe_param = wparam;
    return ProbeAnswer(wparam);
  }
  if (IsRecorded(message)) g_messages.push_back(HostMessage{message, wparam});
  return DefWindowProcA(window, message, wparam, lparam);
}

// The class is registered as ANSI, so that GetWindowLongA reports the
// procedures themselves rather than a conversion thunk.
void RegisterHostClassOnce() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA window_class{};
  window_class.lpfnWndProc = HostWindowProc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = kClassName;
  if (RegisterClassA(&window_class) == 0) {
    throw std::runtime_error("RegisterClassA(FS98MAIN) failed, error " +
                             std::to_string(GetLastError()));
  }
  registered = true;
}

}  // namespace

LRESULT ProbeAnswer(WPARAM wparam) {
  return static_cast<LRESULT>(0x51A0000 + wparam);
}
int ProbesReceived() {
  return g_probes;
}
WPARAM LastProbeParam() {
  return g_last_probe_param;
}

const std::vector<HostMessage>& HostMessages() {
  return g_messages;
}
void ClearHostMessages() {
  g_messages.clear();
}

LONG HostWindowProcValue() {
  return reinterpret_cast<LONG>(&HostWindowProc);
}

HWND CreateHostWindow() {
  RegisterHostClassOnce();
  HWND window = CreateWindowExA(0, kClassName, "Aerilon test host", WS_OVERLAPPEDWINDOW, 0, 0, 320,
                                200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) {
    throw std::runtime_error("CreateWindowExA(FS98MAIN) failed, error " +
                             std::to_string(GetLastError()));
  }
  return window;
}

void DestroyHostWindow(HWND window) {
  if (window != nullptr) DestroyWindow(window);
}
