#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rally/state/module.h"
#include "tools/aerilon-sim/json_transcript.h"

// The precision tracks of the target trace: while a track is active in a
// running leg, each run of ticks on which the engine judges the deviation
// from its radial, within or beyond the tolerance, with the deviations
// judged; when the track closes, the largest deviation and the penalty
// the engine charged. Lines {"tick": N, "trace": {"track": ...}}.
class TrackTrace {
 public:
  void AfterTick(RallyModule& m, const RaceEngine& before, int64_t tick,
                 std::vector<TranscriptLine>* out);
  void AtEnd(std::vector<TranscriptLine>* out);

 private:
  void Judge(RallyModule& m, int64_t tick, std::vector<TranscriptLine>* out);
  void CloseSpan(std::vector<TranscriptLine>* out);

  std::string name_;         // "track 1.1", while a track is watched
  int32_t leg_ = -1;         // the leg whose tracks are counted
  int32_t tracks_seen_ = 0;  // in that leg
  bool open_ = false;
  bool beyond_ = false;  // the open span's deviations are beyond the tolerance
  int64_t first_ = 0, last_ = 0;
  double low_ = 0, high_ = 0, tolerance_ = 0;  // degrees
};

// The text of a track's trace line, for the human transcript.
std::string TrackTraceText(const TranscriptLine& trace);
