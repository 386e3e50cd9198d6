#pragma once

// What the score summary dialog shows above the legs: the running or the
// last leg, empty before any leg.
struct ScoreSummaryState {
  char leg_status_line[64];
};
