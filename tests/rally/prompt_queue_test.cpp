#include "rally/ui/prompt_queue.h"

#include <gtest/gtest.h>

#include "rally/module/course_loader.h"
#include "rally/module/lifecycle.h"
#include "tests/support/module_test_support.h"

namespace {

class Prompts : public ModuleOnSim {
 protected:
  // Names of the sounds that started playing, in order.
  std::vector<std::string> Played() const {
    std::vector<std::string> names;
    for (const SimCall* c : SimCallsNamed(host_, "play_sound")) names.push_back(c->text);
    return names;
  }
};

using Names = std::vector<std::string>;

TEST_F(Prompts, OfThreeAtOnceTheFirstPlaysAndTheLastReplacesTheSecond) {
  PlayPrompt(m(), "ADV\\RALLY\\Start");
  PlayPrompt(m(), "ADV\\RALLY\\Bonus");
  PlayPrompt(m(), "ADV\\RALLY\\Malus");
  EXPECT_EQ(CallNames(), (Names{"load_sound", "query_sound_level", "set_sound_level", "play_sound",
                                "load_sound", "reload_sound"}));
  const SimCall& query = host_.calls[1];
  EXPECT_EQ(query.args[0], 4);
  const SimCall& level = host_.calls[2];
  EXPECT_EQ(level.args[0], m().prompts.current);
  EXPECT_EQ(level.args[1], host_.sound_level);
  EXPECT_EQ(host_.calls[3].routine, reinterpret_cast<uintptr_t>(m().routines.prompt_done));
  const SimCall& reload = host_.calls[5];
  EXPECT_EQ(reload.args, (std::vector<int64_t>{2, m().prompts.waiting, 1, 0}));
  EXPECT_EQ(Played(), (Names{"ADV\\RALLY\\Start"}));

  uint32_t first = m().prompts.current;
  Ticks(host_.prompt_ticks);  // the first prompt ends and its completion runs
  auto released = SimCallsNamed(host_, "release_sound");
  ASSERT_EQ(released.size(), 1u);
  EXPECT_EQ(released[0]->args[0], first);
  EXPECT_EQ(Played(), (Names{"ADV\\RALLY\\Start", "ADV\\RALLY\\Malus"}))
      << "the second prompt is never heard";
  EXPECT_EQ(m().prompts.waiting, 0u);

  Ticks(host_.prompt_ticks);
  EXPECT_EQ(m().prompts.current, 0u);
  EXPECT_EQ(SimCallsNamed(host_, "release_sound").size(), 2u);
  EXPECT_TRUE(host_.sounds.empty()) << "every handle is released";
}

TEST_F(Prompts, AMissingPromptPlaysNothingAndTheNextOnePlaysAtOnce) {
  host_.sound_exists = [](const std::string& name) { return name != "ADV\\RALLY\\Gone"; };
  PlayPrompt(m(), "ADV\\RALLY\\Gone");
  EXPECT_EQ(CallNames(), (Names{"load_sound"}));
  EXPECT_EQ(m().prompts.current, 0u);
  PlayPrompt(m(), "ADV\\RALLY\\Start");
  EXPECT_EQ(Played(), (Names{"ADV\\RALLY\\Start"}));
}

TEST_F(Prompts, AMissingWaitingPromptLeavesTheSlotEmpty) {
  host_.sound_exists = [](const std::string& name) { return name != "ADV\\RALLY\\Gone"; };
  PlayPrompt(m(), "ADV\\RALLY\\Start");
  PlayPrompt(m(), "ADV\\RALLY\\Gone");
  EXPECT_EQ(m().prompts.waiting, 0u);
  PlayPrompt(m(), "ADV\\RALLY\\Bonus");
  EXPECT_NE(m().prompts.waiting, 0u) << "loaded into the free waiting slot, not reloaded";
  EXPECT_TRUE(SimCallsNamed(host_, "reload_sound").empty());
}

TEST_F(Prompts, NoneReferencesNeverReachTheHost) {
  WriteCourse();
  ASSERT_TRUE(LoadCourse(m()));
  PlayPrompt(m(), nullptr);
  PlayPrompt(m(), reinterpret_cast<const char*>(CourseStart(m().course)));
  EXPECT_TRUE(host_.calls.empty());
}

TEST_F(Prompts, TheLevelIsAskedForAtEveryStart) {
  PlayPrompt(m(), "ADV\\RALLY\\Start");
  PlayPrompt(m(), "ADV\\RALLY\\Bonus");
  host_.sound_level = 33;
  Ticks(host_.prompt_ticks);
  auto levels = SimCallsNamed(host_, "set_sound_level");
  ASSERT_EQ(levels.size(), 2u);
  EXPECT_EQ(levels[0]->args[1], 80);
  EXPECT_EQ(levels[1]->args[1], 33);
}

TEST_F(Prompts, ACompletionAfterShutdownTouchesNothing) {
  WriteCourse();
  ASSERT_EQ(ModuleInit(m()), 1);
  PlayPrompt(m(), "ADV\\RALLY\\Start");
  PlayPrompt(m(), "ADV\\RALLY\\Bonus");
  ModuleDeinit(m());
  EXPECT_TRUE(host_.module_kept_loaded) << "the host still holds the completion routine";
  size_t before = host_.calls.size();
  Ticks(host_.prompt_ticks);
  EXPECT_EQ(host_.calls.size(), before) << "no release, no start of the waiting prompt";
}

}  // namespace
