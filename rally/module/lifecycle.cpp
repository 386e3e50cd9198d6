#include "rally/module/lifecycle.h"
#include "rally/ui/prompt_queue.h"

#include "rally/module/course_loader.h"
#include "rally/state/module.h"
#include "rally/state/random_generator.h"

namespace {

void Register(RallyModule& m, int32_t kind, HostCallback routine) {
  m.host.register_callback(m.host.context, kind, routine);
}

void Unregister(RallyModule& m, int32_t kind, HostCallback routine) {
  m.host.unregister_callback(m.host.context, kind, routine);
}

// Finds the simulator's main window and puts MainWindowProc in front of its
// window procedure. False when any step fails; what was done stays done.
bool HookMainWindow(RallyModule& m) {
  ShellOps& s = m.shell;
  m.frame.main_window = s.find_window(s.context, kMainWindowClass);
  if (m.frame.main_window == 0) return false;
  m.frame.previous_window_proc = s.get_window_proc(s.context, m.frame.main_window);
  if (m.frame.previous_window_proc == 0) return false;
  if (s.set_window_proc(s.context, m.frame.main_window, m.routines.main_window_proc) == 0) {
    return false;
  }
  m.frame.subclassed = true;
  return true;
}

// Gives the window back its own procedure, but only while ours is still the
// one installed: a procedure hooked in after us still calls ours and would
// lose its own hook. Then ours stays in the window's chain, passing every
// message on, so its code must stay mapped as long as the window lives:
// true then. A window that is gone answers 0 and is left alone.
bool UnhookMainWindow(RallyModule& m) {
  if (!m.frame.subclassed) return false;
  m.frame.subclassed = false;
  ShellOps& s = m.shell;
  uintptr_t installed = s.get_window_proc(s.context, m.frame.main_window);
  if (installed == m.routines.main_window_proc) {
    s.set_window_proc(s.context, m.frame.main_window, m.frame.previous_window_proc);
    return false;
  }
  return installed != 0;
}

}  // namespace

int32_t ModuleInit(RallyModule& m) {
  m.race.state = kOutOfRace;
  if (!LoadCourse(m)) return 0;
  m.frame.module_instance = m.shell.get_module_handle(m.shell.context, kModuleFileName);
  if (!HookMainWindow(m)) return 0;
  Register(m, kCallbackTick, m.routines.startup_tick);
  m.frame.tick_routine = m.routines.startup_tick;
  Register(m, kCallbackHostEvent, m.routines.host_event);
  m.frame.event_routine = m.routines.host_event;
  SeedRandom(m.random, m.platform.calendar_time(m.platform.context));
  return 1;
}

void StartupDelayTick(RallyModule& m) {
  m.frame.startup_ticks += 1;
  // Only the routine that is still registered hands over, so a late extra
  // call can never register the engine's tick twice.
  if (m.frame.startup_ticks > kStartupDelayTicks &&
      m.frame.tick_routine == m.routines.startup_tick) {
    Unregister(m, kCallbackTick, m.routines.startup_tick);
    Register(m, kCallbackTick, m.routines.engine_tick);
    m.frame.tick_routine = m.routines.engine_tick;
  }
}

void ModuleDeinit(RallyModule& m) {
  if (m.frame.event_routine != nullptr) {
    Unregister(m, kCallbackHostEvent, m.frame.event_routine);
    m.frame.event_routine = nullptr;
  }
  if (m.frame.tick_routine != nullptr) {
    Unregister(m, kCallbackTick, m.frame.tick_routine);
    m.frame.tick_routine = nullptr;
  }
  bool still_chained = UnhookMainWindow(m);
  // The host still calls the completion routine of a prompt that plays or
  // waits; keep the code mapped so that call finds a routine that returns.
  if (still_chained || PromptsPending(m.prompts)) {
    m.shell.keep_module_loaded(m.shell.context, m.frame.module_instance);
  }
  m.frame.shut_down = true;
  ReleaseNamePool(m.scores, m.platform);
  if (m.course.block != nullptr) {
    m.platform.free_block(m.platform.context, m.course.block);
    m.course.block = nullptr;
    m.course.size = 0;
  }
}
