#include "sim/sim_dialogs.h"
#include "rally/ui/score_summary.h"

#include "rally/state/module.h"
#include "rally/ui/quiz_dialog.h"
#include "rally/ui/score_summary_lines.h"

namespace {

constexpr uint32_t kIdOk = 1;

SimDialogRecord RunScoreSummary(const RallyModule& m, const SimDialogAnswers& answers) {
  SimDialogRecord record{kScoreSummaryDialog, {}, {}, 0};
  ScoreSummaryLines lines{};
  FillScoreSummaryLines(m, lines);
  for (int32_t i = 0; i < lines.count; ++i) {
    record.texts.push_back({lines.lines[i].control, lines.lines[i].text});
  }
  if (!lines.exit_enabled) record.disabled.push_back(score_summary::kExitButton);
  bool exit_pressed = answers.summary == SimSummaryButton::kExit && lines.exit_enabled;
  uint32_t pressed = exit_pressed ? static_cast<uint32_t>(score_summary::kExitButton) : kIdOk;
  record.result = ScoreSummaryCommandResult(pressed);
  return record;
}

// The pilot leaves one radio button checked and presses OK twice: once for
// the verdict, once to close.
SimDialogRecord RunQuiz(const RallyModule& m, const SimDialogAnswers& answers) {
  SimDialogRecord record{kQuizDialog, {}, {}, 0};
  QuizDialogState state{};
  QuizDialogOpening opening = OpenQuizDialog(state, m.quiz);
  for (const QuizDialogText& t : opening.texts) record.texts.push_back({t.control, t.text});
  int32_t checked = quiz_dialog::kFirstAnswerControl + answers.quiz_slot - 1;
  bool correct_checked = checked == state.correct_control;
  QuizDialogStep verdict = QuizDialogCommand(state, kIdOk, correct_checked);
  record.texts.push_back({quiz_dialog::kVerdictControl, verdict.verdict});
  QuizDialogStep close = QuizDialogCommand(state, kIdOk, correct_checked);
  record.result = close.result;
  return record;
}

}  // namespace

SimDialogRecord RunSimDialog(const RallyModule& m, int32_t id, const SimDialogAnswers& answers) {
  switch (id) {
    case kScoreSummaryDialog: return RunScoreSummary(m, answers);
    case kQuizDialog: return RunQuiz(m, answers);
    case kCreditsDialog: return SimDialogRecord{id, {}, {}, kCreditsDialogResult};
    default:
      return SimDialogRecord{id, {}, {}, -1};  // no such resource: the dialog cannot be created
  }
}

bool ParseSimSummaryButton(const std::string& word, SimSummaryButton* button) {
  if (word == "ok") {
    *button = SimSummaryButton::kOk;
  } else if (word == "exit") {
    *button = SimSummaryButton::kExit;
  } else {
    return false;
  }
  return true;
}
