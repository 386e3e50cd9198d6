// A tick of the race engine takes nothing from the heap: neither the
// module's own heap (the platform's blocks, counted by the test heap) nor
// the C++ free store (counted by the replacement operator new below, while
// a test holds it armed).
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "rally/race/engine_tick.h"
#include "tests/support/flight_test_support.h"

namespace {
bool g_counting = false;
int g_news = 0;
}  // namespace

void* operator new(size_t size) {
  if (g_counting) ++g_news;
  if (void* p = std::malloc(size != 0 ? size : 1)) return p;
  throw std::bad_alloc();
}
// The library's nothrow allocations (std::stable_sort's buffer) come
// back through the same operator delete, so they come from malloc too.
void* operator new(size_t size, const std::nothrow_t&) noexcept {
  if (g_counting) ++g_news;
  return std::malloc(size != 0 ? size : 1);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, size_t) noexcept {
  std::free(p);
}

namespace {

using namespace flight;

// Host operations that keep no log, so that only the module's own work is
// counted; distances are still the stand-in's.
void QuietDistanceAndBearing(void*, const uint8_t* from, const uint8_t* to, uint32_t* bearing,
                             int32_t* distance) {
  SimDistanceAndBearing(LoadPosition(from), LoadPosition(to), bearing, distance);
}
int g_texts_shown = 0;
void QuietShowText(void*, const char*, int32_t, int32_t, int32_t) {
  ++g_texts_shown;
}
int32_t NoSound(void*, const char*, int32_t, uint32_t*) {
  return 1;
}
void NoCommand(void*, uint32_t, uint32_t) {}

class TickAllocations : public Flight {
 protected:
  void Quieten() {
    m().host.distance_and_bearing = QuietDistanceAndBearing;
    m().host.show_text = QuietShowText;
    m().host.load_sound = NoSound;
    m().host.issue_command = NoCommand;
  }
  // Runs the engine's tick itself (the stand-in's tick round keeps lists).
  void CountedTicks(int n) {
    int heap_before = heap_.allocations;
    g_news = 0;
    g_counting = true;
    for (int i = 0; i < n; ++i) EngineTick(m());
    g_counting = false;
    heap_blocks_ = heap_.allocations - heap_before;
  }
  int heap_blocks_ = 0;
};

TEST_F(TickAllocations, ARunningLegAllocatesNothing) {
  Fly(CourseOf({LegOf({TrackStart{kLat + 3000, kLon + 99999, 0, 10, 1, 2}, GateAt(1000),
                       Message{4, "dopo la porta", ""}, Collectible{2, 5, "Nodo"},
                       Waypoint{kLat + 4000, kLon, 50, kAlt, 100, kAnyHeading, "Punto", ""}})},
               {}, {QuizQuestion{"Domanda?", "Giusta", "Seconda", "Terza", 10}}));
  StartFirstLeg();
  Quieten();
  AtUnits(kLat + 300, kLon);
  CountedTicks(16);  // target tests, the track, two distance checks, the queue
  EXPECT_EQ(g_news, 0);
  EXPECT_EQ(heap_blocks_, 0);

  AtUnits(kLat + 1000, kLon);
  int shown = g_texts_shown;
  CountedTicks(30);  // the gate, a message and an item in one tick, then both shown
  EXPECT_EQ(race().state, kLegRunning);
  EXPECT_GT(g_texts_shown, shown) << "the messages were shown";
  EXPECT_EQ(g_news, 0);
  EXPECT_EQ(heap_blocks_, 0);
}

TEST_F(TickAllocations, AnEntryScanAllocatesNothing) {
  std::vector<Leg> legs;
  std::vector<BonusObject> objects;
  for (int i = 0; i < 10; ++i) {
    legs.push_back(LegOf({GateAt(1000 + 10000 * i)}, LegEnd{}, StartAt(kLat + 10000 * i)));
    BonusObject b{};
    b.lat = kLat - 10000 * (i + 1);
    b.lon = kLon;
    b.alt = kAlt;
    b.outer = BonusBox{1000, 1000 * kLonUnitsPerMetre, 500, 0};
    b.middle = BonusBox{500, 500 * kLonUnitsPerMetre, 250, 0};
    b.inner = BonusBox{100, 100 * kLonUnitsPerMetre, 100, 0};
    b.flags = ~0;
    b.max_takes = 1;
    objects.push_back(b);
  }
  Fly(CourseOf(legs, objects));
  ToggleRace(m());
  Quieten();
  AtUnits(kLat + 5000, kLon);  // between the start boxes, far from the objects
  CountedTicks(20);
  EXPECT_EQ(race().state, kArmed);
  EXPECT_EQ(g_news, 0);
  EXPECT_EQ(heap_blocks_, 0);

  AtUnits(kLat + 10000 * 3, kLon, kAlt);
  Heading(0);
  CountedTicks(1);  // a leg started from the scan
  EXPECT_EQ(race().current_leg, 3);
  EXPECT_EQ(g_news, 0);
  EXPECT_EQ(heap_blocks_, 0);
}

TEST(TickAllocationCounter, CountsWhileArmed) {
  g_news = 0;
  g_counting = true;
  auto* p = new std::string(100, 'x');
  g_counting = false;
  delete p;
  EXPECT_GE(g_news, 1) << "the counter sees the free store";
}

}  // namespace
