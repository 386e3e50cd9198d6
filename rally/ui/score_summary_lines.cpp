#include "rally/ui/score_summary_lines.h"
#include "rally/course/score_arithmetic.h"

#include "rally/course/course_format.h"
#include "rally/state/module.h"
#include "rally/ui/format_text.h"
#include "rally/ui/verification_key.h"

using namespace score_summary;

namespace {

// The registry buffer is 30 bytes; one more keeps a value that fills all of
// it without a terminator.
constexpr uint32_t kProductCodeBytes = 31;

char* NextLine(ScoreSummaryLines& out, int32_t control) {
  ScoreSummaryLine& line = out.lines[out.count++];
  line.control = control;
  line.text[0] = '\0';
  return line.text;
}

void SetText(ScoreSummaryLines& out, int32_t control, const char* text) {
  FormatText(NextLine(out, control), kTextBytes, "%s", text);
}

int32_t LegCount(const RallyModule& m) {
  if (!HasCourse(m.course)) return 0;
  int32_t count = CourseLegCount(m.course);
  return count < course::kMaxLegs ? count : course::kMaxLegs;
}

// One line for each of the first eight legs; every leg counts in the sum.
int64_t FillLegLines(const RallyModule& m, ScoreSummaryLines& out) {
  int64_t sum = 0;
  for (int32_t leg = 0; leg < LegCount(m); ++leg) {
    int32_t best = BestLegTotal(m.scores, leg);
    if (leg < kLegLines) {
      FormatText(NextLine(out, kFirstLegControl + leg), kTextBytes, "%2d:%6d", leg + 1, best);
    }
    sum += best;
  }
  return sum;
}

bool SlotIsEmpty(const char* name) {
  return name == nullptr || name[0] == '\0';
}

// The letters of the slots before the first empty one, each but the ninth
// followed by a blank.
void FillWordLine(const RallyModule& m, ScoreSummaryLines& out) {
  char* text = NextLine(out, kWordControl);
  uint32_t at = 0;
  for (const char* c = "Parola:\t"; *c != '\0'; ++c) text[at++] = *c;
  for (int32_t slot = 0; slot < kWordLetters; ++slot) {
    const char* name = NameSlot(m.scores, slot);
    if (SlotIsEmpty(name)) break;
    text[at++] = name[0];
    if (slot + 1 < kWordLetters) text[at++] = ' ';
  }
  text[at] = '\0';
}

void FillKeyLine(const RallyModule& m, ScoreSummaryLines& out, int32_t total) {
  char* text = NextLine(out, kKeyControl);
  if (SlotIsEmpty(NameSlot(m.scores, kWordLetters - 1))) {
    FormatText(text, kTextBytes, "Chiave:");
    return;
  }
  uint32_t now = m.platform.calendar_time(m.platform.context);
  FormatText(text, kTextBytes, "Chiave:\t%s", VerificationKey(total, now).text);
}

void FillProductCode(const RallyModule& m, ScoreSummaryLines& out) {
  char code[kProductCodeBytes] = {};
  const ShellOps& s = m.shell;
  bool found = s.read_product_code != nullptr && s.read_product_code(s.context, code, sizeof code);
  char* text = NextLine(out, kProductCodeControl);
  if (found) {
    FormatText(text, kTextBytes, "Cod. Prod:\n%s", code);
  } else {
    FormatText(text, kTextBytes, "Cod. Prod: non trovato");
  }
}

}  // namespace

ScoreSummaryFigures SummaryFigures(int64_t leg_sum, int32_t percentage, int32_t points) {
  // Worked in 64 bits: S x P overflows 32 bits from S of about 20 million at
  // P = 100. Whenever nothing overflows, the figures are those of 32-bit
  // arithmetic (division truncating toward zero); beyond, they saturate.
  int64_t base = ScaledByPercentage(leg_sum, percentage);
  return ScoreSummaryFigures{ClampToInt32(base + points - leg_sum), ClampToInt32(base + points)};
}

void FillScoreSummaryLines(const RallyModule& m, ScoreSummaryLines& out) {
  out.count = 0;
  bool course = HasCourse(m.course);
  SetText(out, kFirstTitleControl, course ? CourseFirstTitle(m.course) : "");
  SetText(out, kSecondTitleControl, course ? CourseSecondTitle(m.course) : "");
  SetText(out, kLegStatusControl, m.summary.leg_status_line);
  int64_t sum = FillLegLines(m, out);
  ScoreSummaryFigures figures =
      SummaryFigures(sum, ScorePercentage(m.scores), ScoreBonusPoints(m.scores));
  FormatText(NextLine(out, kBonusControl), kTextBytes, "Bonus:\t%6d", figures.bonus);
  FormatText(NextLine(out, kTotalControl), kTextBytes, "Totale\t%6d", figures.total);
  FillWordLine(m, out);
  FillKeyLine(m, out, figures.total);
  FillProductCode(m, out);
  out.exit_enabled = m.race.state != kOutOfRace;
}

int32_t ScoreSummaryCommandResult(uint32_t wparam) {
  switch (wparam & 0xFFFFu) {
    case 1:  // IDOK
    case 2:  // IDCANCEL: Esc and the close box
      return kOkResult;
    case kExitButton: return kExitResult;
    default: return 0;
  }
}
