#pragma once

#include <windows.h>

#include <vector>

// The test host's stand-in for the simulator's main window: a top-level
// window of class "FS98MAIN" whose own procedure answers kProbeMessage, so
// a test can see a message pass through whatever procedure the module put
// in front of it.
constexpr UINT kProbeMessage = WM_APP + 0x2A;

// The answer of the host's procedure to kProbeMessage with this wparam.
LRESULT ProbeAnswer(WPARAM wparam);
// How many kProbeMessage calls reached the host's own procedure, and the
// wparam of the last one.
int ProbesReceived();
WPARAM LastProbeParam();

// The WM_COMMAND, WM_ENTERMENULOOP and WM_EXITMENULOOP messages that reached
// the host's own procedure, in order: what the module passed on.
struct HostMessage {
  UINT message;
  WPARAM wparam;
};
const std::vector<HostMessage>& HostMessages();
void ClearHostMessages();

// The host's own window procedure, as GetWindowLongA reports it.
LONG HostWindowProcValue();

// Creates the window (registering the class the first time); throws
// std::runtime_error when Windows refuses.
HWND CreateHostWindow();
void DestroyHostWindow(HWND window);
