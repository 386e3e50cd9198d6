#include "rally/win32/score_summary_dialog_win32.h"

#include "rally/module/entry_points.h"
#include "rally/resources/resource_ids.h"
#include "rally/ui/score_summary_lines.h"
#include "rally/win32/dialogs_win32.h"

using namespace score_summary;

static_assert(IDC_FIRST_TITLE == kFirstTitleControl && IDC_SECOND_TITLE == kSecondTitleControl &&
                  IDC_LEG_STATUS == kLegStatusControl && IDC_LEG_1 == kFirstLegControl &&
                  IDC_LEG_8 == kFirstLegControl + kLegLines - 1 && IDC_BONUS == kBonusControl &&
                  IDC_TOTAL == kTotalControl && IDC_KEY == kKeyControl &&
                  IDC_WORD == kWordControl && IDC_PRODUCT_CODE == kProductCodeControl &&
                  IDC_EXIT_RACE == kExitButton,
              "score summary controls");

namespace {

// Every line is computed afresh at each opening; the dialog keeps nothing.
INT_PTR OnInitDialog(HWND dialog) {
  ScoreSummaryLines lines;
  FillScoreSummaryLines(LoadedModule(), lines);
  for (int32_t i = 0; i < lines.count; ++i) {
    SetDlgItemTextA(dialog, lines.lines[i].control, lines.lines[i].text);
  }
  if (!lines.exit_enabled) EnableWindow(GetDlgItem(dialog, kExitButton), FALSE);
  return TRUE;  // the dialog manager sets the focus
}

INT_PTR OnCommand(HWND dialog, WPARAM wparam) {
  int32_t result = ScoreSummaryCommandResult(static_cast<uint32_t>(wparam));
  if (result == 0) return FALSE;
  EndDialog(dialog, result);
  return TRUE;
}

}  // namespace

INT_PTR CALLBACK ScoreSummaryDialogProc(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: return OnInitDialog(dialog);
    case WM_COMMAND: return OnCommand(dialog, wparam);
    default: return FALSE;
  }
}
