#include "tests/win32/rally_host/dialog_driver_win32.h"

#include <stdexcept>

namespace {

constexpr UINT kTickMs = 100;
constexpr int kIdleTicksBeforeForcing = 100;

DialogDriver* g_driver = nullptr;

BOOL CALLBACK FindDialogOfThread(HWND window, LPARAM found) {
  char class_name[16];
  if (GetClassNameA(window, class_name, sizeof class_name) > 0 &&
      std::string(class_name) == "#32770" && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CollectChildText(HWND child, LPARAM texts) {
  reinterpret_cast<std::vector<std::string>*>(texts)->push_back(WindowText(child));
  return TRUE;
}

}  // namespace

DialogDriver::DialogDriver(std::vector<DialogStep> steps) : steps_(std::move(steps)) {
  if (g_driver != nullptr) throw std::runtime_error("one dialog driver at a time");
  timer_ = SetTimer(nullptr, 0, kTickMs, &DialogDriver::OnTimer);
  if (timer_ == 0) throw std::runtime_error("SetTimer failed");
  g_driver = this;
}

DialogDriver::~DialogDriver() {
  KillTimer(nullptr, timer_);
  g_driver = nullptr;
}

void CALLBACK DialogDriver::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (g_driver != nullptr) g_driver->Tick();
}

void DialogDriver::Tick() {
  HWND dialog = OpenDialog();
  if (dialog == nullptr) return;
  if (dialog_ == nullptr) dialog_ = dialog;
  if (steps_run_ < static_cast<int>(steps_.size())) {
    // Counted first: a step may end the dialog, and its loop then returns
    // before this tick does.
    steps_run_ += 1;
    steps_[steps_run_ - 1](dialog);
    return;
  }
  if (++idle_ticks_ >= kIdleTicksBeforeForcing) {
    forced_ = true;
    EndDialog(dialog, kForcedResult);
  }
}

HWND OpenDialog() {
  HWND found = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDialogOfThread, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::string WindowText(HWND window) {
  char text[1024];
  int n = GetWindowTextA(window, text, sizeof text);
  return std::string(text, n > 0 ? static_cast<size_t>(n) : 0);
}

std::string ControlText(HWND dialog, int control) {
  HWND item = GetDlgItem(dialog, control);
  return item == nullptr ? std::string("(no control ") + std::to_string(control) + ")"
                         : WindowText(item);
}

std::vector<std::string> ChildTexts(HWND dialog) {
  std::vector<std::string> texts;
  EnumChildWindows(dialog, CollectChildText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

void ClickButton(HWND dialog, int control) {
  SendDlgItemMessageA(dialog, control, BM_CLICK, 0, 0);
}

void PressEscape(HWND dialog) {
  HWND focus = GetFocus();
  HWND target = focus != nullptr && IsChild(dialog, focus) ? focus : dialog;
  PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
}

void PressCloseBox(HWND dialog) {
  PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
}
