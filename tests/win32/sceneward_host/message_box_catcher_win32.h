#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A message box as it stood on the screen.
struct CaughtBox {
  std::string caption;
  std::string text;  // the box's static text (control 0xFFFF)
  HWND owner;
};

// Catches the message boxes this thread opens while it lives, so that no
// case waits on a person: a thread timer fires inside the box's own modal
// loop, reads the box and presses its OK button.
class MessageBoxCatcher {
 public:
  MessageBoxCatcher();
  ~MessageBoxCatcher();
  MessageBoxCatcher(const MessageBoxCatcher&) = delete;
  MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

  const std::vector<CaughtBox>& boxes() const { return boxes_; }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  void CatchOpenBoxes();

  UINT_PTR timer_ = 0;
  std::vector<CaughtBox> boxes_;
  std::vector<HWND> closing_;  // boxes already read, waiting for their OK to land
};
