#pragma once

#include <cstdint>

#include "rally/ui/quiz_question.h"

// What the quiz dialog (resource 102) shows and decides. The dialog
// procedure only sets and reads its controls: it asks these functions what
// to do with each message.
namespace quiz_dialog {
constexpr int32_t kQuestionControl = 1044;
constexpr int32_t kFirstAnswerControl = 1041;  // slots 1 to 3 are 1041 to 1043
constexpr int32_t kAnswerControls = 3;
constexpr int32_t kVerdictControl = 1045;
constexpr int32_t kOkCommand = 1;
constexpr int32_t kRightResult = 1;
constexpr int32_t kWrongResult = 2;
constexpr char kRightVerdict[] = "BENE! Risposta CORRETTA!";
constexpr char kWrongVerdict[] = "Spiacente... risposta SBAGLIATA.";
}  // namespace quiz_dialog

// The dialog's own flags, from WM_INITDIALOG until it closes.
struct QuizDialogState {
  bool answered;            // OK has been pressed once: the verdict is shown and final
  bool correct;             // the verdict of that press
  int32_t correct_control;  // the radio button of the right answer, fixed at opening
};

// One control text that WM_INITDIALOG sets.
struct QuizDialogText {
  int32_t control;
  const char* text;
};

// WM_INITDIALOG: the texts of 1044 and 1041 to 1043, in the order they are
// set, and the radio button to check (slot 1, preselected). Clears the flags
// and keeps the right answer's button: the dialog judges the question it
// was opened with.
struct QuizDialogOpening {
  QuizDialogText texts[1 + quiz_dialog::kAnswerControls];
  int32_t checked_control;
};
QuizDialogOpening OpenQuizDialog(QuizDialogState& state, const CurrentQuestion& question);

// The radio button whose check makes the answer right.
int32_t QuizCorrectControl(const CurrentQuestion& question);

// WM_COMMAND: what the dialog does with it; `wparam` is the message's wParam,
// whose low word names the control.
enum class QuizDialogAction {
  kIgnore,       // not handled: Esc and the close box leave the dialog open
  kShowVerdict,  // set 1045 to `verdict`, stay open (the procedure returns FALSE)
  kEnd,          // EndDialog with `result` (the procedure returns TRUE)
};
struct QuizDialogStep {
  QuizDialogAction action;
  const char* verdict;  // for kShowVerdict
  int32_t result;       // for kEnd: 1 right, 2 wrong
};
// `correct_control_checked`: whether the state's correct_control is checked
// right now (only the first OK press reads it).
QuizDialogStep QuizDialogCommand(QuizDialogState& state, uint32_t wparam,
                                 bool correct_control_checked);
