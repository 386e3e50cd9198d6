#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Works the modal dialogs that RALLY.DLL opens, from inside their own
// message loop, so that no case waits on a person: a thread timer fires
// while DialogBoxParamA runs, finds the dialog and carries out the next step
// of a script, one step per tick, so that each step's messages have been
// handled before the next one looks. A dialog still open some seconds after
// its script has ended is closed by force with kForcedResult.
using DialogStep = std::function<void(HWND dialog)>;

constexpr INT_PTR kForcedResult = -77;

class DialogDriver {
 public:
  explicit DialogDriver(std::vector<DialogStep> steps);
  ~DialogDriver();
  DialogDriver(const DialogDriver&) = delete;
  DialogDriver& operator=(const DialogDriver&) = delete;

  int steps_run() const { return steps_run_; }
  bool forced() const { return forced_; }
  // The dialog the first step saw (null when none opened).
  HWND dialog() const { return dialog_; }

 private:
  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
  void Tick();

  std::vector<DialogStep> steps_;
  UINT_PTR timer_ = 0;
  int steps_run_ = 0;
  int idle_ticks_ = 0;
  bool forced_ = false;
  HWND dialog_ = nullptr;
};

// The visible dialog box of this thread, or null.
HWND OpenDialog();

// A control's text, read back from the dialog.
std::string ControlText(HWND dialog, int control);
// The texts of all the dialog's children, in their order: the static texts
// without an identifier of their own are found this way.
std::vector<std::string> ChildTexts(HWND dialog);
std::string WindowText(HWND window);

// Presses a button the way a click does (BM_CLICK: down and up on it).
void ClickButton(HWND dialog, int control);
// Esc on the focused control, through the dialog's own keyboard handling.
void PressEscape(HWND dialog);
// The close box of the caption.
void PressCloseBox(HWND dialog);
