#include "rally/win32/dialogs_win32.h"

#include "rally/module/entry_points.h"
#include "rally/resources/resource_ids.h"
#include "rally/ui/score_summary.h"
#include "rally/win32/credits_dialog_win32.h"
#include "rally/win32/quiz_dialog_win32.h"
#include "rally/win32/score_summary_dialog_win32.h"

// The resource script and the core name the same dialogs.
static_assert(IDD_SCORE_SUMMARY == kScoreSummaryDialog, "score summary dialog id");
static_assert(IDD_QUIZ == kQuizDialog, "quiz dialog id");
static_assert(IDD_CREDITS == kCreditsDialog, "credits dialog id");

namespace {

DLGPROC ProcedureOf(int32_t id) {
  switch (id) {
    case kScoreSummaryDialog: return ScoreSummaryDialogProc;
    case kQuizDialog: return QuizDialogProc;
    case kCreditsDialog: return CreditsDialogProc;
    default: return nullptr;
  }
}

}  // namespace

int32_t RunModuleDialog(int32_t id) {
  DLGPROC procedure = ProcedureOf(id);
  // The module has no other dialog: the same answer DialogBoxParamA gives
  // for a missing template.
  if (procedure == nullptr) return -1;
  const RallyModule& m = LoadedModule();
  return static_cast<int32_t>(
      DialogBoxParamA(reinterpret_cast<HINSTANCE>(m.frame.module_instance), MAKEINTRESOURCEA(id),
                      reinterpret_cast<HWND>(m.frame.main_window), procedure, 0));
}
