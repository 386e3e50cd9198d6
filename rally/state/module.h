#pragma once

// Layer rally/state: the one aggregate the module is, RallyModule, and the
// plain records it holds (race, menu numbering, message and prompt queues,
// the current question, the dialog gate). Records only: the subsystems above
// hold the operations on them. It uses host/ and course/.

#include <cstdint>

#include "rally/course/course_image.h"
#include "rally/course/score_table.h"
#include "rally/host/host_interface.h"
#include "rally/host/platform.h"
#include "rally/host/shell_interface.h"
#include "rally/state/dialog_gate_state.h"
#include "rally/state/menu_state.h"
#include "rally/state/message_queue_state.h"
#include "rally/state/prompt_queue_state.h"
#include "rally/state/quiz_state.h"
#include "rally/state/race_state.h"
#include "rally/state/random_generator.h"
#include "rally/state/score_summary_state.h"

// The addresses the module hands to the host and the window: whoever binds
// the module (the DLL, the stand-in host) fills them with its entry points.
struct ModuleRoutines {
  HostCallback startup_tick;
  HostCallback engine_tick;
  HostCallback host_event;
  SoundDoneRoutine prompt_done;
  uintptr_t main_window_proc;
};

// Lifecycle state: the window the module hooked and what it registered.
struct ModuleFrame {
  uintptr_t module_instance;
  uintptr_t main_window;
  uintptr_t previous_window_proc;
  bool subclassed;             // MainWindowProc is installed on MainWindow
  int32_t startup_ticks;       // StartupDelayTick calls, never reset
  HostCallback tick_routine;   // the kind-5 routine registered now, or null
  HostCallback event_routine;  // the kind-11 routine registered now, or null
  bool shut_down;              // ModuleDeinit has run
};

// Everything the module owns. The DLL holds exactly one; tests make a fresh
// one per case.
struct RallyModule {
  HostOps host;
  ShellOps shell;
  MenuOps menu_ops;
  PlatformOps platform;
  ModuleRoutines routines;

  ModuleFrame frame;
  CourseImage course;
  ScoreTable scores;
  RaceEngine race;
  MenuState menu;
  MessageQueue messages;
  Alert alert;
  PromptQueue prompts;
  ScoreSummaryState summary;
  CurrentQuestion quiz;  // the question the quiz dialog asks
  DialogGate dialogs;
  RandomGenerator random;
};
