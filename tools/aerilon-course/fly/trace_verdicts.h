#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/aerilon-course/fly/autopilot.h"
#include "tools/aerilon-sim/json_transcript.h"

// The target trace's lines made into a leg's report: each verdict a
// FlownTarget with the passes that failed before it, each closed track
// its sentence.
class TraceVerdicts {
 public:
  // One transcript line of the run; `approach` is how the autopilot went
  // onto the current target, for a verdict.
  void Take(const TranscriptLine& line, const std::string& approach, FlownLeg* leg);
  // The last "not met" sentence, for why a leg was not finished.
  const std::string& LastNotMet() const { return last_not_met_; }
  void StartLeg() { last_not_met_.clear(); }

 private:
  void NoteSpan(const TranscriptLine& trace);

  struct Span {
    int64_t last;
    std::string text;
  };
  std::optional<Span> pending_miss_;
  std::vector<std::string> misses_;  // the current target's failed passes
  std::string last_not_met_;
};
