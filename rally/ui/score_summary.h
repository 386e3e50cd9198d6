#pragma once

#include <cstdint>

#include "rally/state/score_summary_state.h"

struct RallyModule;

constexpr int32_t kScoreSummaryDialog = 101;
constexpr int32_t kQuizDialog = 102;
constexpr int32_t kCreditsDialog = 107;
constexpr uint32_t kScoreCommandSlot = 1;
constexpr uint32_t kQuizCommandSlot = 5;

void PrepareLegStatusLine(RallyModule& m);
// Runs the score summary modally inside the simulator's menu loop and
// returns the dialog's result (-1 when it could not be created).
int32_t OpenScoreSummary(RallyModule& m);
