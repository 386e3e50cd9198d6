#include "rally/ui/quiz_dialog.h"

using namespace quiz_dialog;

QuizDialogOpening OpenQuizDialog(QuizDialogState& state, const CurrentQuestion& q) {
  state.answered = false;
  state.correct = false;
  state.correct_control = QuizCorrectControl(q);
  QuizDialogOpening opening{};
  opening.texts[0] = {kQuestionControl, q.question};
  for (int32_t slot = 0; slot < kAnswerControls; ++slot) {
    opening.texts[1 + slot] = {kFirstAnswerControl + slot, q.answers[slot]};
  }
  opening.checked_control = kFirstAnswerControl;
  return opening;
}

int32_t QuizCorrectControl(const CurrentQuestion& q) {
  return kFirstAnswerControl + q.correct_slot - 1;
}

QuizDialogStep QuizDialogCommand(QuizDialogState& state, uint32_t wparam,
                                 bool correct_control_checked) {
  // Only OK counts; the low word of wParam is what is compared.
  if ((wparam & 0xFFFFu) != static_cast<uint32_t>(kOkCommand)) {
    return {QuizDialogAction::kIgnore, nullptr, 0};
  }
  if (!state.answered) {
    // The first press judges; picking another answer afterwards changes nothing.
    state.answered = true;
    state.correct = correct_control_checked;
    return {QuizDialogAction::kShowVerdict, state.correct ? kRightVerdict : kWrongVerdict, 0};
  }
  return {QuizDialogAction::kEnd, nullptr, state.correct ? kRightResult : kWrongResult};
}
