#include "tools/aerilon-course/fly/trace_verdicts.h"

#include "tools/aerilon-sim/target_trace.h"
#include "tools/aerilon-sim/track_trace.h"

void TraceVerdicts::Take(const TranscriptLine& line, const std::string& approach, FlownLeg* leg) {
  if (!line.contains("trace")) return;
  const TranscriptLine& trace = line["trace"];
  if (trace.contains("track")) {
    if (trace.contains("closed")) leg->tracks.push_back(TrackTraceText(trace));
    return;
  }
  if (!trace.contains("met")) {
    NoteSpan(trace);
    return;
  }
  FlownTarget target;
  target.name = trace["target"];
  target.met = trace["met"];
  target.tick = line["tick"];
  if (target.met) {
    target.margin = trace["margin"];
  } else {
    target.why = TraceText(trace);
    last_not_met_ = target.why;
  }
  pending_miss_.reset();  // a verdict tells its own last pass
  int64_t since = leg->targets.empty() ? leg->start_tick : leg->targets.back().tick;
  target.seconds = (target.tick - since) / 6;
  target.approach = approach;
  target.misses = misses_;
  misses_.clear();
  leg->targets.push_back(target);
}

// A run of ticks inside a target with a condition failing is a missed
// pass when the aircraft left the target after it, not when the
// conditions merely changed on the next tick (touching down in a landing
// box, slowing into a gate's speed range).
void TraceVerdicts::NoteSpan(const TranscriptLine& trace) {
  int64_t first = trace["inside"][0], last = trace["inside"][1];
  if (pending_miss_ && pending_miss_->last + 1 != first) misses_.push_back(pending_miss_->text);
  pending_miss_.reset();
  if (!trace["fails"].empty()) pending_miss_ = Span{last, TraceText(trace)};
}
