#include "rally/module/lifecycle.h"

#include <gtest/gtest.h>

#include "course_model/course_writer.h"
#include "examples/compiled_sample_course.h"
#include "rally/module/entry_points.h"
#include "rally/state/random_generator.h"
#include "tests/support/module_test_support.h"

namespace {

class Lifecycle : public ModuleOnSim {
 protected:
  uintptr_t Address(HostCallback r) { return reinterpret_cast<uintptr_t>(r); }
  uintptr_t StartupTick() { return Address(m().routines.startup_tick); }
  uintptr_t EngineTick() { return Address(m().routines.engine_tick); }
  uintptr_t HostEvent() { return Address(m().routines.host_event); }
};

using Calls = std::vector<std::string>;

TEST_F(Lifecycle, FullStartUpHooksTheWindowThenRegistersBothRoutines) {
  WriteCourse();
  EXPECT_EQ(ModuleInit(m()), 1);
  EXPECT_EQ(CallNames(), (Calls{"GetModuleHandleA", "FindWindowA", "GetWindowLongA",
                                "SetWindowLongA", "register_callback", "register_callback"}));
  EXPECT_EQ(host_.calls[0].text, "RALLY.DLL");
  EXPECT_EQ(host_.calls[1].text, "FS98MAIN");
  EXPECT_EQ(m().frame.module_instance, host_.module_handle);
  EXPECT_EQ(m().frame.main_window, host_.window.handle);
  EXPECT_EQ(m().frame.previous_window_proc, 0x00405000u);
  EXPECT_EQ(host_.window.window_proc, SimMainWindowProcAddress());
  EXPECT_EQ(host_.calls[4].args[0], kCallbackTick);
  EXPECT_EQ(host_.calls[4].routine, StartupTick());
  EXPECT_EQ(host_.calls[5].args[0], kCallbackHostEvent);
  EXPECT_EQ(host_.calls[5].routine, HostEvent());
  EXPECT_EQ(m().race.state, kOutOfRace);
  EXPECT_TRUE(HasCourse(m().course));
  EXPECT_STREQ(m().course.path, "ADV\\RALLY\\Rally.SCO");
}

TEST_F(Lifecycle, RandomGeneratorIsSeededWithTheCalendarTime) {
  WriteCourse();
  m().platform.calendar_time = [](void*) { return 1234567u; };
  ASSERT_EQ(ModuleInit(m()), 1);
  RandomGenerator expected{};
  SeedRandom(expected, 1234567u);
  EXPECT_EQ(NextRandom(m().random), NextRandom(expected));
}

TEST_F(Lifecycle, StartupDelayHandsTheTickToTheEngineOnItsThirtyFirstCall) {
  WriteCourse();
  ASSERT_EQ(ModuleInit(m()), 1);
  size_t after_init = host_.calls.size();
  Ticks(30);
  EXPECT_EQ(host_.calls.size(), after_init) << "calls 1 to 30 only count";
  EXPECT_EQ(SimRegistrations(host_, kCallbackTick, m().routines.startup_tick), 1);

  Ticks(1);
  ASSERT_EQ(host_.calls.size(), after_init + 2);
  EXPECT_EQ(host_.calls[after_init].op, "unregister_callback");
  EXPECT_EQ(host_.calls[after_init].routine, StartupTick());
  EXPECT_EQ(host_.calls[after_init + 1].op, "register_callback");
  EXPECT_EQ(host_.calls[after_init + 1].args[0], kCallbackTick);
  EXPECT_EQ(host_.calls[after_init + 1].routine, EngineTick());

  Ticks(29);
  EXPECT_EQ(host_.calls.size(), after_init + 2) << "the hand-over happens once";
  EXPECT_EQ(SimRegistrations(host_, kCallbackTick, m().routines.engine_tick), 1);
  EXPECT_EQ(SimCallbacksOfKind(host_, kCallbackTick), 1);
  EXPECT_EQ(m().race.tick_count, 29) << "the engine runs from the tick after the swap";
}

TEST_F(Lifecycle, AStrayStartupCallAfterTheSwapRegistersNothingMore) {
  WriteCourse();
  ASSERT_EQ(ModuleInit(m()), 1);
  Ticks(31);
  size_t before = host_.calls.size();
  StartupDelayTickEntry(0, 0);
  EXPECT_EQ(host_.calls.size(), before);
  EXPECT_EQ(SimRegistrations(host_, kCallbackTick, m().routines.engine_tick), 1);
}

TEST_F(Lifecycle, ShutdownRemovesTheRoutinesRegisteredAtThatMoment) {
  WriteCourse();
  WriteScores({"Alfa", "Bravo"});
  ASSERT_EQ(ModuleInit(m()), 1);
  Ticks(10);
  size_t before = host_.calls.size();
  ModuleDeinit(m());
  ASSERT_GE(host_.calls.size(), before + 2);
  EXPECT_EQ(host_.calls[before].op, "unregister_callback");
  EXPECT_EQ(host_.calls[before].args[0], kCallbackHostEvent);
  EXPECT_EQ(host_.calls[before].routine, HostEvent());
  EXPECT_EQ(host_.calls[before + 1].op, "unregister_callback");
  EXPECT_EQ(host_.calls[before + 1].routine, StartupTick()) << "not the engine's tick";
  EXPECT_TRUE(host_.callbacks.empty());
  EXPECT_EQ(heap_.allocations, 2) << "course and name pool";
  EXPECT_TRUE(heap_.live.empty()) << "both blocks are freed";
  EXPECT_FALSE(HasCourse(m().course));
}

TEST_F(Lifecycle, ShutdownAfterTheSwapRemovesTheEngineTickAndUnhooksTheWindow) {
  WriteCourse();
  ASSERT_EQ(ModuleInit(m()), 1);
  Ticks(31);
  ModuleDeinit(m());
  auto removed = SimCallsNamed(host_, "unregister_callback");
  ASSERT_EQ(removed.size(), 3u);
  EXPECT_EQ(removed[2]->routine, EngineTick());
  EXPECT_TRUE(host_.callbacks.empty());
  EXPECT_EQ(host_.window.window_proc, 0x00405000u) << "the simulator's own procedure is back";
  EXPECT_FALSE(host_.module_kept_loaded);
}

TEST_F(Lifecycle, WindowHookedOverByAnotherProcedureIsLeftAlone) {
  WriteCourse();
  ASSERT_EQ(ModuleInit(m()), 1);
  host_.window.window_proc = 0x00777000;  // someone subclassed after us
  ModuleDeinit(m());
  EXPECT_EQ(host_.window.window_proc, 0x00777000u);
  EXPECT_TRUE(SimCallsNamed(host_, "SetWindowLongA").size() == 1) << "only the hook itself";
}

TEST_F(Lifecycle, APromptStillPlayingAtShutdownKeepsTheCodeLoaded) {
  WriteCourse();
  ASSERT_EQ(ModuleInit(m()), 1);
  m().prompts.current = 7;
  ModuleDeinit(m());
  EXPECT_TRUE(host_.module_kept_loaded);
  EXPECT_TRUE(m().frame.shut_down);
}

TEST_F(Lifecycle, WithoutACourseNothingIsInstalledAndNothingFreed) {
  EXPECT_EQ(ModuleInit(m()), 0);
  EXPECT_TRUE(host_.calls.empty()) << "FindWindowA is never reached";
  EXPECT_EQ(m().race.state, kOutOfRace);
  ModuleDeinit(m());
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_EQ(heap_.allocations, 0);
  EXPECT_EQ(heap_.frees, 0);
}

TEST_F(Lifecycle, ABrokenCourseLeavesTheModuleInertAndFreesItsBlock) {
  std::vector<uint8_t> bytes = EncodeCourseFile(SampleCourse());
  bytes[3] ^= 0x40;  // damages the magic
  folder_.WriteBytes("Rally.DAT", bytes);
  EXPECT_EQ(ModuleInit(m()), 0);
  EXPECT_TRUE(host_.calls.empty());
  EXPECT_EQ(heap_.allocations, 1);
  EXPECT_TRUE(heap_.live.empty());
  EXPECT_STREQ(m().course.path, "ADV\\RALLY\\Rally.DAT") << "no score path without a course";
}

TEST_F(Lifecycle, WithoutTheMainWindowCourseAndScoresLoadButNothingIsRegistered) {
  WriteCourse();
  WriteScores({"Alfa", "", "Charlie"});
  host_.window.exists = false;
  EXPECT_EQ(ModuleInit(m()), 0);
  EXPECT_EQ(CallNames(), (Calls{"GetModuleHandleA", "FindWindowA"}));
  EXPECT_TRUE(HasCourse(m().course));
  EXPECT_STREQ(NameSlot(m().scores, 0), "Alfa");
  EXPECT_EQ(NameSlot(m().scores, 1), nullptr);
  EXPECT_STREQ(NameSlot(m().scores, 2), "Charlie");
  size_t before = host_.calls.size();
  ModuleDeinit(m());
  EXPECT_EQ(host_.calls.size(), before) << "nothing to unregister, no window to unhook";
  EXPECT_EQ(heap_.allocations, 2);
  EXPECT_EQ(heap_.frees, 2);
}

TEST_F(Lifecycle, AWindowWithoutAProcedureOrARefusedHookStopsBeforeRegistering) {
  WriteCourse();
  host_.window.window_proc = 0;
  EXPECT_EQ(ModuleInit(m()), 0);
  EXPECT_EQ(CallNames(), (Calls{"GetModuleHandleA", "FindWindowA", "GetWindowLongA"}));
  ModuleDeinit(m());
  EXPECT_TRUE(SimCallsNamed(host_, "unregister_callback").empty());
}

TEST_F(Lifecycle, ARefusedSubclassStopsBeforeRegisteringAndIsNotUndone) {
  WriteCourse();
  host_.window.refuse_subclass = true;
  EXPECT_EQ(ModuleInit(m()), 0);
  EXPECT_EQ(host_.calls.back().op, "SetWindowLongA");
  EXPECT_TRUE(host_.callbacks.empty());
  ModuleDeinit(m());
  EXPECT_EQ(SimCallsNamed(host_, "SetWindowLongA").size(), 1u);
  EXPECT_EQ(host_.window.window_proc, 0x00405000u);
}

}  // namespace
