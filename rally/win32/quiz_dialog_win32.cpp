#include "rally/win32/quiz_dialog_win32.h"

#include "rally/module/entry_points.h"
#include "rally/resources/resource_ids.h"
#include "rally/ui/quiz_dialog.h"
#include "rally/win32/dialogs_win32.h"

using namespace quiz_dialog;

static_assert(IDC_QUESTION == kQuestionControl && IDC_ANSWER_1 == kFirstAnswerControl &&
                  IDC_ANSWER_3 == kFirstAnswerControl + kAnswerControls - 1 &&
                  IDC_VERDICT == kVerdictControl,
              "quiz controls");

namespace {

// The dialog's state lives in the dialog window itself, so each open dialog
// has its own and nothing is left over after it closes: the answered and
// correct flags in the low bits, the right answer's button above them.
constexpr LONG kAnsweredBit = 1;
constexpr LONG kCorrectBit = 2;
constexpr int kControlShift = 16;

QuizDialogState LoadState(HWND dialog) {
  LONG bits = GetWindowLongA(dialog, DWL_USER);
  return QuizDialogState{(bits & kAnsweredBit) != 0, (bits & kCorrectBit) != 0,
                         static_cast<int32_t>((bits >> kControlShift) & 0xFFFF)};
}

void StoreState(HWND dialog, const QuizDialogState& state) {
  SetWindowLongA(dialog, DWL_USER,
                 (state.answered ? kAnsweredBit : 0) | (state.correct ? kCorrectBit : 0) |
                     static_cast<LONG>(state.correct_control << kControlShift));
}

INT_PTR OnInitDialog(HWND dialog) {
  QuizDialogState state{};
  QuizDialogOpening opening = OpenQuizDialog(state, LoadedModule().quiz);
  for (const QuizDialogText& t : opening.texts) SetDlgItemTextA(dialog, t.control, t.text);
  SendDlgItemMessageA(dialog, opening.checked_control, BM_SETCHECK, BST_CHECKED, 0);
  StoreState(dialog, state);
  return TRUE;  // the dialog manager sets the focus
}

INT_PTR OnCommand(HWND dialog, WPARAM wparam) {
  QuizDialogState state = LoadState(dialog);
  bool correct_checked =
      SendDlgItemMessageA(dialog, state.correct_control, BM_GETCHECK, 0, 0) == BST_CHECKED;
  QuizDialogStep step = QuizDialogCommand(state, static_cast<uint32_t>(wparam), correct_checked);
  StoreState(dialog, state);
  switch (step.action) {
    case QuizDialogAction::kShowVerdict:
      SetDlgItemTextA(dialog, kVerdictControl, step.verdict);
      return FALSE;  // the dialog stays open until OK is pressed again
    case QuizDialogAction::kEnd: EndDialog(dialog, step.result); return TRUE;
    case QuizDialogAction::kIgnore:
    default: return FALSE;  // Esc and the close box too: the pilot has to answer
  }
}

}  // namespace

INT_PTR CALLBACK QuizDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: return OnCommand(dialog, wparam);
    default: return FALSE;
  }
}
