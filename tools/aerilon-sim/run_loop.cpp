#include "tools/aerilon-sim/run_loop.h"

#include <cstdio>
#include <vector>

#include "rally/course/course_format.h"
#include "rally/host/stdio_platform.h"
#include "rally/module/entry_points.h"
#include "rally/module/lifecycle.h"
#include "rally/module/main_window_messages.h"
#include "rally/state/random_generator.h"
#include "sim/sim_aircraft_state.h"
#include "sim/sim_dialogs.h"
#include "sim/sim_menu_bar.h"
#include "sim/sim_module_binding.h"
#include "sim/sim_score_file_watch.h"
#include "sim/sim_sound_files.h"
#include "tools/aerilon-sim/target_trace.h"
#include "tools/aerilon-sim/track_trace.h"

namespace {

// The module's clock, when the run fixes the calendar time. The tool runs
// one module at a time (the binary holds one instance).
uint32_t g_fixed_time = 0;
uint32_t FixedClock(void*) {
  return g_fixed_time;
}

struct FinishedLeg {
  int32_t leg;  // as shown to the pilot, from 1
  int32_t seconds;
  int32_t total;
};

}  // namespace

// Everything a run holds; the module is the binary's one instance.
struct FlightSession::Run {
  RunSetup setup;
  TranscriptSink sink;
  RallyModule& m;
  std::function<void(int32_t, SimDialogAnswers&)>* before_dialog = nullptr;
  SimHost host{};
  StdioPlatform files{};
  SimScoreFileWatch watch{};
  SimDialogAnswers answers{};
  SimMenuBar menus{};
  TranscriptNames names{};
  size_t calls_written = 0;
  std::vector<FinishedLeg> finished{};
  int32_t leg_count = 0;  // of the course, kept from start-up: shutdown frees the course
  TargetTrace trace{};
  TrackTrace tracks{};
  int32_t init_result = 0;
  bool finished_run = false;
};

namespace {

using Run = FlightSession::Run;

bool WindowIsHooked(const Run& r) {
  return r.host.window.window_proc == r.m.routines.main_window_proc;
}

// The pilot's dialogs: the stand-in runs the module's dialog models with
// the scripted answers and logs what they showed.
int32_t RunDialog(Run& r, int32_t id) {
  if (*r.before_dialog) (*r.before_dialog)(id, r.answers);
  SimDialogRecord record = RunSimDialog(r.m, id, r.answers);
  SimCall& call = SimLogCall(r.host, "dialog");
  call.args = {record.id, record.result};
  for (int32_t control : record.disabled) call.args.push_back(control);
  call.controls = record.texts;
  return record.result;
}

void BindHost(Run& r) {
  SimHost& h = r.host;
  h.prompt_ticks = r.setup.prompt_ticks;
  h.log_state_writes = true;
  h.carry_out_repositions = true;
  if (r.setup.require_sound_files) {
    std::string root = r.setup.root;
    h.sound_exists = [root](const std::string& name) { return SimSoundFileExists(root, name); };
  }
  // WM_COMMAND goes to the window's procedure: the module's once it hooked it.
  h.deliver_command = [&r](uint32_t command) {
    if (WindowIsHooked(r)) {
      HandleMainWindowMessage(r.m, MainWindowMessage::kCommand, r.host.window.handle, command);
    }
  };
  h.run_dialog = [&r](int32_t id) { return RunDialog(r, id); };
}

void BindModule(Run& r) {
  std::snprintf(r.files.root, sizeof r.files.root, "%s", r.setup.root.c_str());
  BindModuleToSim(r.m, r.host, r.files);
  BindSimMenuBar(r.m, r.menus, r.host);
  WatchScoreFileWrites(r.m.platform, r.watch, r.host, r.m.course);
  if (r.setup.calendar_time) {
    g_fixed_time = *r.setup.calendar_time;
    r.m.platform.calendar_time = FixedClock;
  }
  const ModuleRoutines& routines = r.m.routines;
  r.names.routines = {
      {reinterpret_cast<uintptr_t>(routines.startup_tick), "StartupDelayTick"},
      {reinterpret_cast<uintptr_t>(routines.engine_tick), "EngineTick"},
      {reinterpret_cast<uintptr_t>(routines.host_event), "OnHostEvent"},
      {reinterpret_cast<uintptr_t>(routines.prompt_done), "OnPromptDone"},
  };
}

void Flush(Run& r) {
  for (; r.calls_written < r.host.calls.size(); ++r.calls_written) {
    std::optional<TranscriptLine> line = ObservedCallLine(r.host.calls[r.calls_written], r.names);
    if (line) r.sink(*line);
  }
}

int32_t StartModule(Run& r) {
  int32_t result = ModuleInit(r.m);
  if (r.setup.seed) SeedRandom(r.m.random, *r.setup.seed);
  SimPaintWindowFrame(r.m, r.host);  // the first repaint of the hooked window
  r.names.command_base = r.m.menu.command_base;
  r.leg_count = HasCourse(r.m.course) ? CourseLegCount(r.m.course) : 0;
  Flush(r);
  return result;
}

// The pilot's choice from the module's popup; without the popup in the bar
// there is nothing to choose.
void DeliverMenuCommand(Run& r, uint32_t slot) {
  uint32_t command = SimMenuCommand(r.menus, slot);
  if (command != 0) SimDeliverCommand(r.host, command);
}

void TakeAnswer(Run& r, const FlightAnswer& a) {
  if (a.quiz_slot) r.answers.quiz_slot = *a.quiz_slot;
  if (a.summary) r.answers.summary = *a.summary;
}

void DoLine(Run& r, const FlightLine& line) {
  switch (line.action) {
    case FlightAction::kState: ApplyAircraftChange(r.host.state, line.state); break;
    case FlightAction::kCommand: DeliverMenuCommand(r, line.slot); break;
    case FlightAction::kEvent: SimSendEvent(r.host, line.event_id); break;
    case FlightAction::kAnswer: TakeAnswer(r, line.answer); break;
    case FlightAction::kEnd: break;
  }
  Flush(r);
}

// A leg was scored in this tick: the score summary became due, or the leg
// that ran has stopped without the reset that an abort makes (-1).
void NoteFinishedLeg(Run& r, const RaceEngine& before) {
  const RaceEngine& after = r.m.race;
  bool summary_due = after.score_pending && !before.score_pending;
  bool ended = before.state == kLegRunning && after.state != kLegRunning && after.current_leg >= 0;
  if (!summary_due && !ended) return;
  r.finished.push_back(FinishedLeg{after.current_leg + 1, after.tick_count, after.score.total});
}

void SendTrace(Run& r, const std::vector<TranscriptLine>& lines) {
  for (const TranscriptLine& line : lines) r.sink(line);
}

void RunTick(Run& r) {
  RaceEngine before = r.m.race;
  SimRunTick(r.host);
  NoteFinishedLeg(r, before);
  Flush(r);
  if (r.setup.trace_targets) {
    std::vector<TranscriptLine> lines;
    r.trace.AfterTick(r.m, before, r.host.tick, &lines);
    r.tracks.AfterTick(r.m, before, r.host.tick, &lines);
    SendTrace(r, lines);
  }
}

void WriteSummary(Run& r, int32_t init_result) {
  const RallyModule& m = r.m;
  TranscriptLine summary;
  summary["ticks"] = r.host.tick;
  summary["module_started"] = init_result == 1;
  summary["legs_finished"] = r.finished.size();
  nlohmann::ordered_json legs = nlohmann::ordered_json::array();
  for (const FinishedLeg& f : r.finished) {
    nlohmann::ordered_json leg;
    leg["leg"] = f.leg;
    leg["seconds"] = f.seconds;
    leg["total"] = f.total;
    legs.push_back(leg);
  }
  summary["legs"] = legs;
  int32_t leg_count = r.leg_count;
  nlohmann::ordered_json best = nlohmann::ordered_json::array();
  for (int32_t leg = 0; leg < leg_count && leg < course::kMaxLegs; ++leg) {
    best.push_back(BestLegTotal(m.scores, leg));
  }
  summary["best_totals"] = best;
  summary["percentage"] = ScorePercentage(m.scores);
  summary["bonus_points"] = ScoreBonusPoints(m.scores);
  summary["overall"] = OverallResult(m.scores, leg_count);
  TranscriptLine line;
  line["tick"] = SimCallTick(r.host);
  line["summary"] = summary;
  r.sink(line);
}

}  // namespace

FlightSession::FlightSession(const RunSetup& setup, TranscriptSink sink) {
  ResetLoadedModule();
  run_.reset(new Run{setup, std::move(sink), LoadedModule()});
  run_->before_dialog = &before_dialog;
  BindHost(*run_);
  BindModule(*run_);
  run_->init_result = StartModule(*run_);
}

FlightSession::~FlightSession() {
  if (!run_->finished_run) Finish();
}

void FlightSession::Do(const FlightLine& line) {
  if (line.action != FlightAction::kEnd) DoLine(*run_, line);
}

void FlightSession::Tick() {
  RunTick(*run_);
}

void FlightSession::Finish() {
  Run& r = *run_;
  if (r.finished_run) return;
  r.finished_run = true;
  if (r.setup.trace_targets) {
    std::vector<TranscriptLine> lines;
    r.trace.AtEnd(r.host.tick, &lines);
    r.tracks.AtEnd(&lines);
    SendTrace(r, lines);
  }
  ModuleDeinit(r.m);
  Flush(r);
  WriteSummary(r, r.init_result);
}

int64_t FlightSession::ticks_run() const {
  return run_->host.tick;
}

int32_t FlightSession::init_result() const {
  return run_->init_result;
}

RallyModule& FlightSession::module() {
  return run_->m;
}

const SimHost& FlightSession::host() const {
  return run_->host;
}

bool FlightSession::HasMenuCommand(uint32_t slot) const {
  return SimMenuCommand(run_->menus, slot) != 0;
}

int32_t RunFlight(const RunSetup& setup, const TranscriptSink& sink) {
  FlightSession session(setup, sink);
  const std::vector<FlightLine>& lines = setup.flight.lines;
  int64_t ticks = setup.flight.TicksToRun();
  size_t next = 0;
  for (int64_t tick = 1; tick <= ticks + 1; ++tick) {
    for (; next < lines.size() && lines[next].tick == tick; ++next) {
      if (lines[next].action == FlightAction::kEnd) break;
      session.Do(lines[next]);
    }
    if (tick > ticks) break;
    session.Tick();
  }
  session.Finish();
  return session.init_result();
}
