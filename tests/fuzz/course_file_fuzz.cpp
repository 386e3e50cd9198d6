// The course file a pilot downloads, loaded and flown. The input is the
// plain course image (scrambled here, as the file stores it), its length in
// the first two bytes, little-endian; the rest is the flight, a few bytes a
// tick. Positions are taken near the course's own objects so that gates,
// landings, tracks and bonus objects are met; the soak's invariants are
// checked after every tick.
#include <cstdio>
#include <optional>
#include <vector>

#include "course_model/course_reader.h"
#include "rally/commands/host_events.h"
#include "rally/course/scramble.h"
#include "rally/host/stdio_platform.h"
#include "rally/module/entry_points.h"
#include "rally/module/lifecycle.h"
#include "rally/module/main_window_messages.h"
#include "rally/state/module.h"
#include "sim/sim_aircraft_state.h"
#include "sim/sim_dialogs.h"
#include "sim/sim_menu_bar.h"
#include "sim/sim_module_binding.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/fuzz_targets.h"
#include "tests/support/memory_files.h"
#include "tools/aerilon-soak/soak_heap.h"
#include "tools/aerilon-soak/soak_invariants.h"

namespace {

constexpr int kMaxFlightTicks = 600;
constexpr uint32_t kEvents[] = {kEventNextFix, kEventScoreSummary, kEventRepeat, 0x10000};

struct Spot {
  int32_t lat, lon, alt;
};

using course_model::Box;

Spot Centre(const Box& b, int32_t alt) {
  return Spot{static_cast<int32_t>((int64_t{b.lat_min} + b.lat_max) / 2),
              static_cast<int32_t>((int64_t{b.lon_min} + b.lon_max) / 2), alt};
}

struct SpotOfRecord {
  std::vector<Spot>& out;
  void operator()(const course_model::Gate& g) { out.push_back(Centre(g.box, g.alt_centre)); }
  void operator()(const course_model::Waypoint& w) { out.push_back(Spot{w.lat, w.lon, w.alt}); }
  void operator()(const course_model::Landing& l) { out.push_back(Centre(l.box, l.alt)); }
  void operator()(const course_model::TrackStart& t) { out.push_back(Spot{t.lat, t.lon, 300}); }
  template <typename Other>
  void operator()(const Other&) {}
};

std::vector<Spot> CourseSpots(const CourseImage& image) {
  course_model::Course course = ReadCourseImage(image.block, image.size);
  std::vector<Spot> spots;
  for (const course_model::Leg& leg : course.legs) {
    spots.push_back(Centre(leg.start.box, leg.start.alt_centre));
    for (const course_model::LegRecord& record : leg.records)
      std::visit(SpotOfRecord{spots}, record);
  }
  for (const course_model::BonusObject& b : course.bonus_objects)
    spots.push_back(Spot{b.lat, b.lon, b.alt});
  if (spots.empty()) spots.push_back(Spot{0, 0, 0});
  return spots;
}

struct Flight {
  RallyModule& m;
  SimHost host{};
  SimMenuBar menus{};
  SimDialogAnswers answers{};
  std::vector<Spot> spots{};
  SoakHeap heap{};
  uintptr_t simulator_window_proc = 0;
  int32_t dialogs_open = 0;
  int32_t most_dialogs_open = 0;
};

// The soak's invariants hold after every tick of any course the module takes.
void CheckTick(const Flight& f) {
  SoakScene scene{f.m, f.host, f.menus, f.heap, f.simulator_window_proc, f.most_dialogs_open};
  std::optional<SoakViolation> broken = CheckAfterTick(scene);
  if (broken) std::fprintf(stderr, "%s: %s\n", broken->invariant.c_str(), broken->detail.c_str());
  FuzzCheck(!broken, "the module's invariants hold after every tick");
}

// A word near another, wrapping round as the simulator's words do.
int32_t Near(int32_t word, int32_t offset) {
  return static_cast<int32_t>(static_cast<uint32_t>(word) + static_cast<uint32_t>(offset));
}

// One thing the pilot or the simulator does before a tick.
void Step(Flight& f, FuzzInput& in) {
  SimAircraftChange change;
  uint8_t op = in.Byte();
  switch (op % 12) {
    case 0:
    case 1:
    case 2:
    case 3: {
      const Spot& s = f.spots[in.Byte() % f.spots.size()];
      change.latitude = Near(s.lat, in.Signed() * 8);
      change.longitude = static_cast<uint32_t>(Near(s.lon, in.Signed() * 8));
      change.altitude = Near(s.alt, in.Signed());
      change.speed = in.Byte() * 128;
      change.heading = in.U16();
      break;
    }
    case 4: change.on_ground = static_cast<int16_t>(in.Byte() & 1); break;
    case 5: change.crashed = static_cast<int16_t>(in.Byte() & 1); break;
    case 6: change.slew = static_cast<int16_t>(in.Byte() & 1); break;
    case 7: change.pause = static_cast<int16_t>(in.Byte() & 1); break;
    case 8: {
      change.suspend = static_cast<uint8_t>(in.Byte() & 1);
      change.condition = in.Byte();
      break;
    }
    case 9: {
      uint32_t command = SimMenuCommand(f.menus, in.Byte() % 14);
      if (command != 0) SimDeliverCommand(f.host, command);
      break;
    }
    case 10: SimSendEvent(f.host, kEvents[in.Byte() % 4]); break;
    case 11: {
      f.answers.quiz_slot = 1 + in.Byte() % 3;
      f.answers.summary = in.Byte() & 1 ? SimSummaryButton::kExit : SimSummaryButton::kOk;
      f.host.prompt_ticks = 1 + in.Byte() % 40;
      break;
    }
  }
  ApplyAircraftChange(f.host.state, change);
}

void BindFlight(Flight& f, MemoryFiles& files) {
  static StdioPlatform unused_files{};
  BindModuleToSim(f.m, f.host, unused_files);
  f.m.platform = MakeMemoryFilesPlatform(&files);
  f.heap.calendar_time = files.clock;
  CountSoakHeap(f.m.platform, f.heap);
  BindSimMenuBar(f.m, f.menus, f.host);
  f.host.carry_out_repositions = true;
  f.host.deliver_command = [&f](uint32_t command) {
    if (f.host.window.window_proc == f.m.routines.main_window_proc)
      HandleMainWindowMessage(f.m, MainWindowMessage::kCommand, f.host.window.handle, command);
  };
  f.host.run_dialog = [&f](int32_t id) {
    f.dialogs_open += 1;
    if (f.dialogs_open > f.most_dialogs_open) f.most_dialogs_open = f.dialogs_open;
    int32_t result = RunSimDialog(f.m, id, f.answers).result;
    f.dialogs_open -= 1;
    return result;
  };
  f.simulator_window_proc = f.host.window.window_proc;
}

}  // namespace

int FuzzCourseFile(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  size_t length = 0;
  const uint8_t* image = in.Take(in.U16(), &length);
  std::vector<uint8_t> file(image, image + length);
  ScrambleWords(file.data(), static_cast<uint32_t>(file.size()));
  MemoryFiles files;
  files.files["ADV\\RALLY\\Rally.DAT"] = file;

  ResetLoadedModule();
  Flight f{LoadedModule()};
  BindFlight(f, files);
  if (ModuleInit(f.m) == 1) {
    SimPaintWindowFrame(f.m, f.host);  // the first repaint merges the popup
    f.spots = CourseSpots(f.m.course);
    for (int tick = 0; tick < kStartupDelayTicks + 1; ++tick) SimRunTick(f.host);
    for (int tick = 0; tick < kMaxFlightTicks && !in.Empty(); ++tick) {
      Step(f, in);
      f.most_dialogs_open = 0;
      SimRunTick(f.host);
      CheckTick(f);
    }
  }
  ModuleDeinit(f.m);
  FuzzCheck(f.host.callbacks.empty(), "after shutdown no routine is registered");
  FuzzCheck(f.host.window.window_proc == f.simulator_window_proc,
            "after shutdown the window has its own procedure back");
  FuzzCheck(files.live_blocks == 0, "after shutdown every block is freed");
  FuzzCheck(files.open.empty(), "after shutdown no file is open");
  return 0;
}
