#pragma once

#include <cstdint>

struct RallyModule;

// What the score summary dialog shows above the legs: the running or the
// last leg, empty before any leg.
struct ScoreSummaryState {
  char leg_status_line[64];
};

constexpr int32_t kScoreSummaryDialog = 101;
constexpr int32_t kQuizDialog = 102;
constexpr int32_t kCreditsDialog = 107;
constexpr uint32_t kScoreCommandSlot = 1;
constexpr uint32_t kQuizCommandSlot = 5;

void PrepareLegStatusLine(RallyModule& m);
// Runs the score summary modally inside the simulator's menu loop and
// returns the dialog's result (-1 when it could not be created).
int32_t OpenScoreSummary(RallyModule& m);
