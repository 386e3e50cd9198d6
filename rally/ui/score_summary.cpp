#include "rally/ui/score_summary.h"

#include "rally/ui/format_text.h"

#include "rally/state/module.h"
#include "rally/ui/dialog_gate.h"

void PrepareLegStatusLine(RallyModule& m) {
  char* line = m.summary.leg_status_line;
  size_t size = sizeof m.summary.leg_status_line;
  if (m.race.current_leg == -1) {
    line[0] = '\0';
  } else if (m.race.state == kLegRunning) {
    FormatText(line, size, "Tratta n\xB0 %d in corso", m.race.current_leg + 1);
  } else {
    FormatText(line, size, "Ultima tratta: n\xB0 %d", m.race.current_leg + 1);
  }
}

int32_t OpenScoreSummary(RallyModule& m) {
  PrepareLegStatusLine(m);
  return RunModuleDialog(m, kScoreSummaryDialog, true);
}
