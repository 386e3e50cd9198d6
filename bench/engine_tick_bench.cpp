// How long one race-engine tick takes, and that it allocates nothing: a
// tick in a running leg (target test, precision track, distance check) and
// an entry-scan tick over twenty legs and twenty bonus objects.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>

#include "course_model/course_writer.h"
#include "rally/host/stdio_platform.h"
#include "rally/module/entry_points.h"
#include "rally/module/lifecycle.h"
#include "rally/race/engine_tick.h"
#include "rally/race/race_commands.h"
#include "sim/geodesy.h"
#include "sim/sim_host.h"
#include "sim/sim_module_binding.h"

namespace {

size_t g_allocations = 0;
bool g_counting = false;  // only the engine's own calls are counted

}  // namespace

// The replacement pair hands out malloc blocks and gives them back with
// free; GCC cannot see that both sides match.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(size_t size) {
  if (g_counting) ++g_allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, size_t) noexcept {
  std::free(p);
}

namespace {

using namespace course_model;

constexpr int32_t kLat = 0x002CB9F3;
constexpr int32_t kLon = 0x79457C16;
constexpr int32_t kLonPerMetre = 120;
constexpr int32_t kAnyHeading = 65536;

Box Around(int32_t lat, int32_t lon, int32_t half_metres) {
  return Box{lat - half_metres, lat + half_metres, lon - half_metres * kLonPerMetre,
             lon + half_metres * kLonPerMetre};
}

// Twenty legs, each starting 10 km further north, each with a gate far away
// and a precision track open from its first record; twenty bonus objects
// that only arm in a condition nobody flies in.
Course BenchCourse() {
  Course c;
  c.first_title = "Banco di prova";
  c.second_title = "Venti tratte";
  for (int i = 0; i < 20; ++i) {
    int32_t lat = kLat + i * 10000;
    Leg leg;
    leg.start = StartGate{Around(lat, kLon, 300), 300, 200, 0, 300 * 128, kAnyHeading};
    leg.records = {TrackStart{lat + 8000, kLon, 0, 910, 10, 2},
                   Gate{Around(lat + 8000, kLon, 200), 300, 200, 0, 300 * 128, kAnyHeading,
                        "Porta mancata", ""}};
    leg.end = LegEnd{500, 900, 1};
    c.legs.push_back(leg);
  }
  for (int i = 0; i < 20; ++i) {
    BonusObject b{};
    b.lat = kLat - 50000 - i * 3000;
    b.lon = kLon;
    b.alt = 300;
    b.outer = BonusBox{600, 600 * kLonPerMetre, 200, 0};
    b.middle = BonusBox{300, 300 * kLonPerMetre, 100, 0};
    b.inner = BonusBox{100, 100 * kLonPerMetre, 50, 0};
    b.flags = 1 << (6 + 7);  // condition 7 only
    b.counter_slot = i % 20;
    b.max_takes = 1;
    b.normal_value = 10;
    c.bonus_objects.push_back(b);
  }
  return c;
}

// A host whose distance_and_bearing keeps no log, so that what is counted
// and timed is the module's work.
void QuietDistanceAndBearing(void*, const uint8_t* from, const uint8_t* to, uint32_t* bearing,
                             int32_t* distance) {
  SimDistanceAndBearing(LoadPosition(from), LoadPosition(to), bearing, distance);
}

struct BenchModule {
  std::filesystem::path root;
  StdioPlatform files{};
  SimHost host;

  BenchModule() {
    char name[] = "/tmp/aerilon-bench-XXXXXX";
    root = mkdtemp(name);
    std::filesystem::create_directories(root / "ADV" / "RALLY");
    WriteCourseFile((root / "ADV" / "RALLY" / "Rally.DAT").string(), BenchCourse());
    std::snprintf(files.root, sizeof files.root, "%s", root.c_str());
    ResetLoadedModule();
    BindModuleToSim(m(), host, files);
    if (ModuleInit(m()) != 1) std::abort();
    m().host.distance_and_bearing = QuietDistanceAndBearing;
    SetSimAircraftSpeed(host.state, 100 * 128);
    SetSimAircraftAltitude(host.state, FromUpperWord(300));
  }
  ~BenchModule() {
    ModuleDeinit(m());
    std::filesystem::remove_all(root);
  }
  RallyModule& m() { return LoadedModule(); }
  void PlaceAt(int32_t lat, int32_t lon) {
    SetSimAircraftLatitude(host.state, FromUpperWord(lat));
    SetSimAircraftLongitude(host.state, FromUpperWord(lon));
  }
};

void CountedTick(RallyModule& m) {
  g_counting = true;
  EngineTick(m);
  g_counting = false;
}

void ReportAllocations(benchmark::State& state, size_t before) {
  state.counters["allocations_per_tick"] = benchmark::Counter(
      static_cast<double>(g_allocations - before), benchmark::Counter::kAvgIterations);
}

void BM_TickInRunningLeg(benchmark::State& state) {
  BenchModule b;
  b.PlaceAt(kLat + 19 * 10000, kLon);  // in the last leg's start box
  ToggleRace(b.m());
  EngineTick(b.m());
  if (b.m().race.state != kLegRunning) {
    state.SkipWithError("the leg did not start");
    return;
  }
  b.PlaceAt(kLat + 19 * 10000 + 1000, kLon + 40 * kLonPerMetre);  // on the way, off the track
  // Let the leg-start message run out first: what the stand-in host does
  // with a shown text is not the engine's work.
  for (int i = 0; i < 300; ++i) SimRunTick(b.host);
  if (b.m().race.state != kLegRunning || !b.m().race.track.active) {
    state.SkipWithError("the leg or its precision track is no longer running");
    return;
  }
  size_t before = g_allocations;
  for (auto _ : state) CountedTick(b.m());
  ReportAllocations(state, before);
}
BENCHMARK(BM_TickInRunningLeg);

void BM_EntryScanTick(benchmark::State& state) {
  BenchModule b;
  b.PlaceAt(kLat - 20000, kLon + 5000 * kLonPerMetre);  // near nothing
  ToggleRace(b.m());
  size_t before = g_allocations;
  for (auto _ : state) CountedTick(b.m());
  ReportAllocations(state, before);
}
BENCHMARK(BM_EntryScanTick);

}  // namespace

BENCHMARK_MAIN();
