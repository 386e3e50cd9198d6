#include "tools/aerilon-course/fly/autopilot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "common/windows1252_text.h"
#include "rally/course/course_format.h"
#include "rally/course/course_image.h"
#include "rally/race/start_positions.h"
#include "rally/race/targets/direction_test.h"
#include "rally/state/module.h"
#include "rally/ui/score_summary.h"
#include "sim/sim_dialogs.h"
#include "tools/aerilon-course/fly/approach_guide.h"
#include "tools/aerilon-course/fly/course_crossings.h"
#include "tools/aerilon-course/fly/quiz_answer.h"
#include "tools/aerilon-course/fly/state_lines.h"
#include "tools/aerilon-course/fly/trace_verdicts.h"
#include "tools/aerilon-course/source/start_positions_near.h"
#include "tools/aerilon-sim/target_trace.h"

using namespace course;

namespace {

constexpr double kTickSeconds = 1.0 / 6;
constexpr int64_t kTicksPerSecond = 6;
constexpr uint32_t kEnterSlot = 0;
// Without a start position: this far before the start box, on its course.
constexpr double kPlacedBeforeStartM = 5000;
// A start box not crossed in this time is given up.
constexpr int64_t kStartSearchTicks = 30 * 60 * kTicksPerSecond;
// A target flown past this many times is given up.
constexpr int kMaxPasses = 8;
// After the last leg: at most this long for the score summary to come.
constexpr int64_t kWindDownTicks = 3 * 60 * kTicksPerSecond;

// The leg is given up after twice its allowance, or its allowance and a
// quarter of an hour, whichever is longer.
int64_t GiveUpTicks(int32_t allowance) {
  int64_t seconds = std::max<int64_t>(2 * int64_t{allowance}, int64_t{allowance} + 900);
  return seconds * kTicksPerSecond;
}

const uint8_t* LegEndRecord(const RallyModule& m, int leg) {
  const uint8_t* p = CourseEntry(m.course, leg) + RecordSize(kStartGate);
  const uint8_t* end = CourseStart(m.course) + m.course.size;
  while (p < end) {
    int32_t type = ::RecordType(p);
    if (type == kLegEnd) return p;
    if (RecordSize(type) == 0) break;
    p += RecordSize(type);
  }
  return nullptr;
}

enum class Phase { kToStart, kInLeg, kLeaving, kDone };

class Pilot {
 public:
  Pilot(const FlyOptions& options, const TranscriptSink& sink)
      : options_(options),
        user_sink_(sink),
        session_(Setup(options), [this](const TranscriptLine& line) { Observe(line); }),
        guide_(options_.aircraft),
        m_(session_.module()) {
    session_.before_dialog = [this](int32_t id, SimDialogAnswers& answers) {
      BeforeDialog(id, answers);
    };
  }

  FlyResult Fly() {
    result_.init_result = session_.init_result();
    // A leg is the engine's entry of a start box: its number is the entry's
    // (the entry table normally lists the legs first).
    std::vector<int> legs = StartBoxEntries();
    for (int leg : options_.legs.empty() ? legs : options_.legs) {
      if (std::find(legs.begin(), legs.end(), leg) != legs.end()) legs_.push_back(leg);
    }
    if (legs_.empty()) {
      result_.start = "the course has no legs to fly";
      session_.Finish();
      return result_;
    }
    Start();
    while (phase_ != Phase::kDone) Step();
    WindDown();
    FlightLine end;
    end.tick = session_.ticks_run() + 1;
    end.action = FlightAction::kEnd;
    result_.flight.lines.push_back(end);
    session_.Finish();
    result_.ticks = session_.ticks_run();
    return result_;
  }

 private:
  static RunSetup Setup(const FlyOptions& o) {
    RunSetup setup;
    setup.root = o.root;
    setup.seed = o.seed;
    setup.calendar_time = kFlyCalendarTime;
    setup.trace_targets = true;
    return setup;
  }

  std::vector<int> StartBoxEntries() const {
    std::vector<int> legs;
    int32_t entries = HasCourse(m_.course) ? CourseEntryCount(m_.course) : 0;
    for (int32_t i = 0; i < entries; ++i) {
      if (::RecordType(CourseEntry(m_.course, i)) == kStartGate) legs.push_back(i);
    }
    return legs;
  }

  int64_t NextTick() const { return session_.ticks_run() + 1; }
  int WantedLeg() const { return legs_[leg_index_]; }
  const uint8_t* StartRecord() const { return CourseEntry(m_.course, WantedLeg()); }

  void Give(const FlightLine& line) {
    session_.Do(line);
    result_.flight.lines.push_back(line);
  }

  void Command(uint32_t slot) {
    FlightLine line;
    line.tick = NextTick();
    line.action = FlightAction::kCommand;
    line.slot = slot;
    Give(line);
  }

  // From the nearest start position of the module's menu within reach of
  // the first start box, on its runway; else in the air before the box.
  void Start() {
    Crossing box = StartBoxCrossing(m_, StartRecord(), options_.aircraft).crossing;
    NearestStartPosition near = NearestStartPositionTo(
        LatitudeWord(box.centre.lat), static_cast<int32_t>(LongitudeWord(box.centre.lon)));
    int nearest = near.metres <= kStartPositionReachMetres ? static_cast<int>(near.index) : -1;
    double best = near.metres;
    if (nearest >= 0) {
      const StartPosition* p = StartPositionForSlot(kFirstStartPositionSlot + nearest);
      if (session_.HasMenuCommand(kFirstStartPositionSlot + nearest)) {
        Command(kFirstStartPositionSlot + nearest);
      }
      plane_.position = FromCourseUnits(static_cast<int32_t>(p->latitude), p->longitude);
      plane_.altitude_m = p->metres;
      plane_.heading_deg = (p->heading >> 16) * 360.0 / 65536;
      plane_.on_ground = true;
      char km[32];
      std::snprintf(km, sizeof km, "%.1f", best / 1000);
      result_.start = "start position " + std::to_string(nearest + 1) + " (" + near.name + "), " +
                      km + " km from the first start box";
    } else {
      double course = box.course_deg.value_or(0);
      plane_.position = Moved(box.centre, Scaled(Direction(course), -kPlacedBeforeStartM));
      plane_.altitude_m = box.altitude_m;
      plane_.heading_deg = course;
      plane_.speed_kt = box.speed_kt;
      plane_.on_ground = false;
      result_.start = "in the air 5 km before the first start box (no start position within 50 km)";
    }
    BeginLeg();
  }

  void BeginLeg() {
    phase_ = Phase::kToStart;
    phase_tick_ = NextTick();
    guided_ = nullptr;
    start_misses_.clear();
    FlownLeg leg;
    leg.leg = WantedLeg();
    const uint8_t* end = LegEndRecord(m_, WantedLeg());
    if (end != nullptr) leg.allowance = RecordField(end, leg_end::kTimeAllowance);
    result_.legs.push_back(leg);
  }

  FlownLeg& Leg() { return result_.legs.back(); }

  void Step() {
    RaceEngine before = m_.race;
    Decide();
    Steer();
    session_.Tick();
    After(before);
  }

  // The pilot's menu choices before the tick: into the race for the wanted
  // leg, out of a leg started by mistake or given up.
  void Decide() {
    const RaceEngine& e = m_.race;
    int64_t tick = NextTick();
    if (phase_ == Phase::kToStart) {
      if (e.state == kLegRunning && e.current_leg != WantedLeg()) {
        Command(kEnterSlot);  // another leg's start box: out again
        next_enter_tick_ = tick + 30 * kTicksPerSecond;
      } else if (e.state == kOutOfRace && tick >= next_enter_tick_ &&
                 session_.HasMenuCommand(kEnterSlot)) {
        // Near a bonus object the engine is busy with it; the race is
        // entered again once it has let the aircraft go.
        Command(kEnterSlot);
        next_enter_tick_ = tick + kTicksPerSecond;
      }
      if (tick - phase_tick_ > kStartSearchTicks) {
        Leg().why_not = "its start box was not crossed in 30 minutes of trying (" +
                        std::to_string(guide_.passes()) + " passes)" +
                        (start_misses_.empty() ? "" : "; last inside it: " + start_misses_);
        NextLeg();
      }
      return;
    }
    if (phase_ != Phase::kInLeg) return;
    std::string reason;
    if (e.tick_count > GiveUpTicks(Leg().allowance)) {
      reason = "given up after " + std::to_string(e.tick_count / kTicksPerSecond) +
               " s (its allowance is " + std::to_string(Leg().allowance) + " s)";
    } else if (guide_.passes() >= kMaxPasses) {
      reason = "given up after " + std::to_string(guide_.passes()) + " passes";
    } else if (!crossing_.speed_possible && guide_.passes() > 0) {
      reason = "given up: " + crossing_.impossible;
    }
    if (reason.empty()) return;
    give_up_ = reason;
    Command(kEnterSlot);
    phase_ = Phase::kLeaving;
  }

  void Steer() {
    const RaceEngine& e = m_.race;
    const uint8_t* record = nullptr;
    if (phase_ == Phase::kToStart) record = StartRecord();
    if (phase_ == Phase::kInLeg && e.state == kLegRunning && e.target.exists) {
      record = e.target.record;
    }
    if (record != guided_) {
      guided_ = record;
      guide_.Begin();
      if (record != nullptr) {
        crossing_ = record == StartRecord() && phase_ == Phase::kToStart
                        ? StartBoxCrossing(m_, record, options_.aircraft)
                        : TargetCrossing(m_, record, plane_, options_.aircraft);
      }
    }
    MotionCommand command;
    if (record != nullptr) {
      OnTrack(m_, plane_, &crossing_);
      command = guide_.Command(plane_, crossing_.crossing);
    } else {
      command = Hold();
    }
    StepAircraft(plane_, command, options_.aircraft, kTickSeconds);
    WriteState();
  }

  MotionCommand Hold() const {
    MotionCommand c;
    c.heading_deg = plane_.heading_deg;
    c.altitude_m = plane_.altitude_m;
    c.speed_kt = plane_.on_ground ? 0 : plane_.speed_kt;
    c.stay_on_ground = true;
    return c;
  }

  void WriteState() {
    if (std::optional<FlightLine> line = state_lines_.Next(plane_, NextTick())) Give(*line);
  }

  // What the tick did to the race.
  void After(const RaceEngine& before) {
    const RaceEngine& e = m_.race;
    if (phase_ == Phase::kToStart && e.state == kLegRunning && before.state != kLegRunning &&
        e.current_leg == WantedLeg()) {
      StartedLeg();
      return;
    }
    if (phase_ == Phase::kToStart) WatchStartBox();
    if (phase_ != Phase::kInLeg && phase_ != Phase::kLeaving) return;
    bool scored = e.score_pending && !before.score_pending && e.state != kLegRunning;
    bool ended = before.state == kLegRunning && e.state != kLegRunning;
    if (scored) {
      Leg().finished = true;
      Leg().seconds = e.tick_count;
      Leg().score = e.score;
      Leg().end_tick = session_.ticks_run();
      NextLeg();
    } else if (ended) {
      Leg().end_tick = session_.ticks_run();
      std::string trace = verdicts_.LastNotMet();
      // Given up, the pilot left the race on purpose: the reason is the give-up's.
      const std::string left = " not met: the pilot left the race";
      if (phase_ == Phase::kLeaving && trace.find(left) != std::string::npos) {
        trace.replace(trace.find(left), left.size(), " not met");
      }
      if (!trace.empty()) trace = ": " + trace;
      Leg().why_not = phase_ == Phase::kLeaving
                          ? give_up_ + trace
                          : "the leg was aborted (a crash, slew or jump)" + trace;
      NextLeg();
    }
  }

  void StartedLeg() {
    phase_ = Phase::kInLeg;
    guided_ = nullptr;
    verdicts_.StartLeg();
    Leg().started = true;
    Leg().start_tick = session_.ticks_run();
    FlownTarget box;
    box.name = "start box " + std::to_string(WantedLeg() + 1);
    box.met = true;
    box.tick = session_.ticks_run();
    box.margin = TargetMargins(ObserveTarget(m_, StartRecord()));
    Leg().targets.insert(Leg().targets.begin(), box);
  }

  void NextLeg() {
    ++leg_index_;
    if (leg_index_ >= legs_.size()) {
      phase_ = Phase::kDone;
      return;
    }
    BeginLeg();
  }

  // The last leg's score summary comes once its messages have been shown.
  void WindDown() {
    int64_t until = NextTick() + kWindDownTicks;
    while (NextTick() < until && (m_.race.score_pending || m_.messages.count > 0)) {
      StepAircraft(plane_, Hold(), options_.aircraft, kTickSeconds);
      WriteState();
      session_.Tick();
    }
  }

  // The autopilot reads the question and the answers as the dialog shows
  // them and checks the one that the course gives as right.
  void BeforeDialog(int32_t id, SimDialogAnswers& answers) {
    if (id != kQuizDialog) return;
    QuizAnswer answer = AnswerQuiz(m_, RunSimDialog(m_, id, answers));
    answers.quiz_slot = answer.slot;
    FlightLine line;
    line.tick = session_.ticks_run() + 1;  // the tick that is running
    line.action = FlightAction::kAnswer;
    line.answer.quiz_slot = answer.slot;
    result_.flight.lines.push_back(line);
    if (!result_.legs.empty()) Leg().quiz.push_back(Windows1252ToUtf8(answer.told));
  }

  // Every transcript line goes on to the caller; the trace's verdicts are
  // also kept for the report.
  void Observe(const TranscriptLine& line) {
    if (user_sink_) user_sink_(line);
    if (!result_.legs.empty()) verdicts_.Take(line, guide_.Approach(), &Leg());
  }

  // Inside the start box without the leg starting: which conditions failed.
  void WatchStartBox() {
    TargetObservation o = ObserveTarget(m_, StartRecord());
    if (!o.inside) return;
    std::string failed;
    for (const TargetCondition& c : o.conditions) {
      if (c.holds) continue;
      char text[160];
      std::snprintf(text, sizeof text, "%s%s %.0f %s, wanted %.0f to %.0f %s",
                    failed.empty() ? "" : "; ", c.name.c_str(), c.value, c.unit.c_str(), c.low,
                    c.high, c.unit.c_str());
      failed += text;
    }
    if (m_.race.state != kArmed)
      failed += std::string(failed.empty() ? "" : "; ") + "not in the race";
    if (!failed.empty()) start_misses_ = failed;
  }

  FlyOptions options_;
  TranscriptSink user_sink_;
  FlightSession session_;
  ApproachGuide guide_;
  RallyModule& m_;
  FlyResult result_;
  FlyingAircraft plane_;
  std::vector<int> legs_;
  size_t leg_index_ = 0;
  Phase phase_ = Phase::kToStart;
  int64_t phase_tick_ = 0;
  int64_t next_enter_tick_ = 0;
  const uint8_t* guided_ = nullptr;
  CourseCrossing crossing_;
  std::string give_up_;
  TraceVerdicts verdicts_;
  std::string start_misses_;  // the start box's last failed crossing
  StateLines state_lines_;
};

}  // namespace

std::string SlowestTarget(const FlownLeg& leg) {
  const FlownTarget* slowest = nullptr;
  for (const FlownTarget& t : leg.targets) {
    if (t.tick != leg.start_tick && (slowest == nullptr || t.seconds > slowest->seconds)) {
      slowest = &t;
    }
  }
  if (slowest == nullptr) return "";
  std::string text = slowest->name + " took " + std::to_string(slowest->seconds) + " s";
  if (!slowest->approach.empty()) text += " (" + slowest->approach + ")";
  if (!slowest->misses.empty()) {
    text +=
        ", missed " + std::to_string(slowest->misses.size()) + " times: " + slowest->misses.back();
  }
  return text;
}

FlyResult FlyCourse(const FlyOptions& options, const TranscriptSink& sink) {
  Pilot pilot(options, sink);
  return pilot.Fly();
}
