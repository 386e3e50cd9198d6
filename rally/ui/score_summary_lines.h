#pragma once

#include <cstdint>

struct RallyModule;

// What the score summary dialog (resource 101) shows and decides. The dialog
// procedure sets each control to its text, in this order, greys the exit
// button when asked to, and ends with the result its buttons give.
namespace score_summary {
constexpr int32_t kFirstTitleControl = 1000;
constexpr int32_t kSecondTitleControl = 1001;
constexpr int32_t kLegStatusControl = 1002;
constexpr int32_t kFirstLegControl = 1003;  // legs 1 to 8 are 1003 to 1010
constexpr int32_t kLegLines = 8;
constexpr int32_t kBonusControl = 1015;
constexpr int32_t kTotalControl = 1016;
constexpr int32_t kKeyControl = 1018;
constexpr int32_t kWordControl = 1019;
constexpr int32_t kProductCodeControl = 1046;
constexpr int32_t kExitButton = 1040;
constexpr int32_t kOkResult = 1;
constexpr int32_t kExitResult = 1040;
constexpr int32_t kMaxLines = 3 + kLegLines + 5;
constexpr uint32_t kTextBytes = 256;
constexpr int32_t kWordLetters = 9;  // name slots 0 to 8
}  // namespace score_summary

struct ScoreSummaryLine {
  int32_t control;
  char text[score_summary::kTextBytes];
};

struct ScoreSummaryLines {
  ScoreSummaryLine lines[score_summary::kMaxLines];  // in the order they are set
  int32_t count;
  bool exit_enabled;  // "&Esci di gara": greyed while out of the race
};

// Everything the summary shows, computed afresh from the module's state:
// titles, leg status, the best total of legs 1 to 8, bonus and total over
// every leg, the hidden word, the verification key (once name slot 8 is
// held, keyed with the calendar time now) and the simulator's product code.
void FillScoreSummaryLines(const RallyModule& m, ScoreSummaryLines& out);

// WM_COMMAND: the result the dialog ends with for a command (the low word
// of wParam), or 0 when the command is not the dialog's. OK, Esc and the
// close box give 1, "&Esci di gara" gives 1040.
int32_t ScoreSummaryCommandResult(uint32_t wparam);

// The figures of the bonus and total lines: S the sum of the best totals of
// all the course's legs, P the percentage, E the bonus points;
// base = S x P / 100, bonus = base + E - S, total = base + E.
struct ScoreSummaryFigures {
  int32_t bonus;
  int32_t total;
};
ScoreSummaryFigures SummaryFigures(int64_t leg_sum, int32_t percentage, int32_t points);
