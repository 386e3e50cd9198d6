#include "tests/win32/sceneward_host/message_box_catcher_win32.h"

#include <algorithm>
#include <stdexcept>

namespace {

constexpr UINT kTickMs = 100;
constexpr int kBoxTextControl = 0xFFFF;

MessageBoxCatcher* g_catcher = nullptr;  // the one a timer tick serves

std::string TextOf(HWND window) {
  char text[512] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM found) {
  char class_name[16] = "";
  GetClassNameA(window, class_name, sizeof class_name);
  if (std::string(class_name) == "#32770" && IsWindowVisible(window)) {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  }
  return TRUE;
}

}  // namespace

MessageBoxCatcher::MessageBoxCatcher() {
  if (g_catcher != nullptr) throw std::logic_error("one MessageBoxCatcher at a time");
  timer_ = SetTimer(nullptr, 0, kTickMs, &MessageBoxCatcher::OnTimer);
  if (timer_ == 0) throw std::runtime_error("SetTimer failed");
  g_catcher = this;
}

MessageBoxCatcher::~MessageBoxCatcher() {
  KillTimer(nullptr, timer_);
  g_catcher = nullptr;
}

void CALLBACK MessageBoxCatcher::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (g_catcher != nullptr) g_catcher->CatchOpenBoxes();
}

void MessageBoxCatcher::CatchOpenBoxes() {
  std::vector<HWND> open;
  EnumThreadWindows(GetCurrentThreadId(), CollectDialog, reinterpret_cast<LPARAM>(&open));
  for (HWND box : open) {
    if (std::find(closing_.begin(), closing_.end(), box) != closing_.end()) continue;
    HWND text = GetDlgItem(box, kBoxTextControl);
    boxes_.push_back({TextOf(box), text != nullptr ? TextOf(text) : "(no text control)",
                      GetWindow(box, GW_OWNER)});
    closing_.push_back(box);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  }
}
