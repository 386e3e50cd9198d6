#include "rally/ui/menu_merge.h"

#include <gtest/gtest.h>

#include "rally/commands/menu_commands.h"
#include "rally/module/lifecycle.h"
#include "rally/module/main_window_messages.h"
#include "sim/sim_menu_bar.h"
#include "tests/support/module_test_support.h"

namespace {

std::vector<uint32_t> ItemIds(const SimMenuBar& menus, uintptr_t menu) {
  std::vector<uint32_t> ids;
  const SimMenu* m = SimFindMenu(menus, menu);
  if (m == nullptr) return ids;
  for (const SimMenuItem& item : m->items) ids.push_back(item.id);
  return ids;
}

// A bar of its own making: `items` at the top level.
uintptr_t GiveBar(SimMenuBar& menus, const std::vector<SimMenuItem>& items) {
  uintptr_t bar = SimCreateMenu(menus);
  for (const SimMenuItem& item : items) SimAppendItem(menus, bar, item);
  menus.bar = bar;
  return bar;
}

SimMenuItem Item(uint32_t id, uintptr_t submenu = 0) {
  SimMenuItem item;
  item.text = id == 0 && submenu == 0 ? "" : "item";
  item.id = submenu != 0 ? static_cast<uint32_t>(submenu) : id;
  item.submenu = submenu;
  return item;
}

class MenuMerge : public ModuleOnSim {
 protected:
  void SetUp() override {
    ModuleOnSim::SetUp();
    BindSimMenuBar(m(), menus_, host_);
    WriteCourse();
    ASSERT_EQ(ModuleInit(m()), 1);
    host_.calls.clear();
  }
  void Paint() { SimPaintWindowFrame(m(), host_); }
  size_t Calls(const char* op) const { return SimCallsNamed(host_, op).size(); }
  const SimMenu& Popup() const {
    const SimMenu* popup = SimRallyPopup(menus_);
    EXPECT_NE(popup, nullptr) << "the bar holds no \"&Aerilon\"";
    static const SimMenu kNone{};
    return popup != nullptr ? *popup : kNone;
  }
  int PopupsInBar() const {
    int n = 0;
    for (const SimMenuItem& item : SimFindMenu(menus_, menus_.bar)->items) {
      n += item.text == kRallyMenuTitle ? 1 : 0;
    }
    return n;
  }

  SimMenuBar menus_;
};

TEST_F(MenuMerge, LargestIdentifierInsideAPopupNumbersThePopupFrom217To230) {
  Paint();
  EXPECT_EQ(m().menu.command_base, 217u);
  EXPECT_EQ(m().menu.command_last, 230u);
  const SimMenu& popup = Popup();
  ASSERT_EQ(popup.items.size(), 8u);
  EXPECT_EQ(m().menu.rally_menu, popup.handle);
  uintptr_t positions = popup.items[5].submenu;
  EXPECT_EQ(
      ItemIds(menus_, popup.handle),
      (std::vector<uint32_t>{217, 218, 219, 217, 220, static_cast<uint32_t>(positions), 217, 221}))
      << "separators are numbered like any item, to the base";
  EXPECT_EQ(ItemIds(menus_, positions),
            (std::vector<uint32_t>{223, 224, 225, 226, 227, 228, 229, 230}));
  EXPECT_EQ(SimFindMenu(menus_, menus_.bar)->items.back().text, "&Aerilon") << "appended last";
  EXPECT_TRUE(OnMenuCommand(m(), SimMenuCommand(menus_, 13)));
  EXPECT_FALSE(OnMenuCommand(m(), 215)) << "the simulator's own command";
}

TEST_F(MenuMerge, TheSameIdentifierOnTheBarItselfGives216) {
  SimGiveWindowMenuBar(menus_, 215, false);
  Paint();
  EXPECT_EQ(m().menu.command_base, 216u);
  EXPECT_EQ(m().menu.command_last, 229u);
}

TEST_F(MenuMerge, ScanAddsOneForEachSubmenuLevelAndComparesUnsigned) {
  uintptr_t inner = SimCreateMenu(menus_);
  SimAppendItem(menus_, inner, Item(40));
  uintptr_t middle = SimCreateMenu(menus_);
  SimAppendItem(menus_, middle, Item(0, inner));
  uintptr_t bar = GiveBar(menus_, {Item(41), Item(0, middle)});
  EXPECT_EQ(ScanMenuCommands(m().menu_ops, bar), 43u) << "40 two levels down beats 41 on top";
  SimAppendItem(menus_, bar, Item(0x80000000u));
  SimAppendItem(menus_, bar, Item(7));
  EXPECT_EQ(ScanMenuCommands(m().menu_ops, bar), 0x80000001u);
  EXPECT_EQ(ScanMenuCommands(m().menu_ops, 0x12345678), 0u) << "no such menu: no items";
}

TEST_F(MenuMerge, RenumberSkipsPopupItemsAndReturnsTheLargestWritten) {
  uintptr_t inner = SimCreateMenu(menus_);
  SimAppendItem(menus_, inner, Item(9));
  uintptr_t menu = SimCreateMenu(menus_);
  SimAppendItem(menus_, menu, Item(3));
  SimAppendItem(menus_, menu, Item(0, inner));
  SimAppendItem(menus_, menu, Item(0));
  EXPECT_EQ(RenumberMenuCommands(m().menu_ops, menu, 100), 109u);
  EXPECT_EQ(ItemIds(menus_, menu), (std::vector<uint32_t>{103, static_cast<uint32_t>(inner), 100}));
  EXPECT_EQ(ItemIds(menus_, inner), (std::vector<uint32_t>{109}));
}

TEST_F(MenuMerge, WithoutABarNothingIsMergedAndTheNextRepaintTriesAgain) {
  uintptr_t bar = menus_.bar;
  menus_.bar = 0;
  Paint();
  EXPECT_EQ(m().menu.command_base, 0u);
  EXPECT_EQ(m().menu.command_last, 0u);
  EXPECT_EQ(Calls("LoadMenuA"), 0u);
  menus_.bar = bar;
  Paint();
  EXPECT_EQ(m().menu.command_base, 217u);
  EXPECT_EQ(m().menu.command_last, 230u);
}

TEST_F(MenuMerge, ABarWithoutANonZeroIdentifierMergesNothingUntilItHasOne) {
  uintptr_t empty_popup = SimCreateMenu(menus_);
  SimAppendItem(menus_, empty_popup, Item(0));
  uintptr_t bar = GiveBar(menus_, {Item(0), Item(0, empty_popup)});
  Paint();
  EXPECT_EQ(m().menu.command_base, 0u);
  EXPECT_EQ(Calls("LoadMenuA"), 0u);
  EXPECT_FALSE(OnMenuCommand(m(), 0));
  SimAppendItem(menus_, empty_popup, Item(50));
  Paint();
  EXPECT_EQ(m().menu.command_base, 52u);
  EXPECT_EQ(m().menu.command_last, 65u);
  EXPECT_EQ(SimFindMenu(menus_, bar)->items.size(), 3u);
}

TEST_F(MenuMerge, AFailedLoadTakesNoCommandAndIsTriedAgain) {
  menus_.refuse_load = true;
  Paint();
  EXPECT_EQ(m().menu.command_base, 217u);
  EXPECT_EQ(m().menu.command_last, 0u);
  EXPECT_FALSE(OnMenuCommand(m(), 217));
  EXPECT_EQ(m().race.state, kOutOfRace);
  EXPECT_EQ(Calls("AppendMenuA"), 0u);
  // The simulator's popups hold separators (identifier 0): a failed load
  // must not leave a handle that such an item answers to.
  menus_.refuse_load = false;
  Paint();
  EXPECT_EQ(Calls("LoadMenuA"), 2u);
  EXPECT_EQ(m().menu.command_last, 230u);
  EXPECT_EQ(PopupsInBar(), 1);
}

TEST_F(MenuMerge, AFailedAppendDestroysThePopupAndTakesNoCommand) {
  menus_.refuse_append = true;
  Paint();
  auto loads = SimCallsNamed(host_, "LoadMenuA");
  ASSERT_EQ(loads.size(), 1u);
  uintptr_t loaded = static_cast<uintptr_t>(loads[0]->args[2]);
  auto destroyed = SimCallsNamed(host_, "DestroyMenu");
  ASSERT_EQ(destroyed.size(), 1u);
  EXPECT_EQ(static_cast<uintptr_t>(destroyed[0]->args[0]), loaded);
  EXPECT_EQ(SimFindMenu(menus_, loaded), nullptr);
  EXPECT_EQ(m().menu.command_last, 0u);
  EXPECT_FALSE(OnMenuCommand(m(), 217));
  EXPECT_EQ(SimRallyPopup(menus_), nullptr);
  auto writes = SimCallsNamed(host_, "SetMenuItemInfoA");
  EXPECT_EQ(writes.size(), 15u) << "every item but the submenu's was renumbered";
  for (const SimCall* write : writes) EXPECT_EQ(write->text, "") << "no label without the popup";
  menus_.refuse_append = false;
  Paint();
  EXPECT_EQ(m().menu.command_last, 230u);
  EXPECT_EQ(PopupsInBar(), 1);
}

TEST_F(MenuMerge, ABarThatHoldsThePopupIsLeftAlone) {
  Paint();
  host_.calls.clear();
  Paint();
  Paint();
  EXPECT_EQ(Calls("LoadMenuA"), 0u);
  EXPECT_EQ(Calls("SetMenuItemInfoA"), 0u);
  EXPECT_EQ(PopupsInBar(), 1);
  EXPECT_EQ(m().menu.command_base, 217u);
  EXPECT_EQ(m().menu.command_last, 230u);
}

TEST_F(MenuMerge, ANewBarWithoutThePopupIsMergedAgainWithANewBase) {
  Paint();
  uintptr_t old_popup = m().menu.rally_menu;
  SimGiveWindowMenuBar(menus_, 300, true);
  Paint();
  EXPECT_EQ(m().menu.command_base, 302u);
  EXPECT_EQ(m().menu.command_last, 315u);
  EXPECT_NE(m().menu.rally_menu, old_popup) << "a freshly loaded popup";
  EXPECT_EQ(Popup().items[0].id, 302u);
  EXPECT_EQ(ItemIds(menus_, old_popup).front(), 217u) << "the old popup is not touched";
  EXPECT_FALSE(OnMenuCommand(m(), 217));
  EXPECT_TRUE(OnMenuCommand(m(), 302));
}

TEST_F(MenuMerge, ANewBarWithoutAnyIdentifierStopsTakingCommands) {
  Paint();
  GiveBar(menus_, {Item(0)});
  Paint();
  EXPECT_EQ(m().menu.command_base, 0u);
  EXPECT_EQ(m().menu.command_last, 0u) << "a range from 0 would take the simulator's commands";
  EXPECT_FALSE(OnMenuCommand(m(), 5));
  EXPECT_EQ(m().race.state, kOutOfRace);
}

TEST_F(MenuMerge, TheFirstItemFollowsTheRaceAtAMergeOnly) {
  struct Case {
    int32_t state;
    const char* text;
    uint32_t item_state;
  };
  const Case cases[] = {
      {kOutOfRace, "&Entra in gara", 0},
      {kArmed, "&Entra in gara", kMenuItemGrayed},
      {kLegRunning, "&Esci di gara", 0},
      {kNearObjectOuter, "&Entra in gara", 0},
  };
  for (const Case& c : cases) {
    m().race.state = c.state;
    SimGiveWindowMenuBar(menus_, 215, true);
    Paint();
    const SimMenuItem& first = Popup().items.at(0);
    EXPECT_EQ(first.text, c.text) << "race state " << c.state;
    EXPECT_EQ(first.state, c.item_state) << "race state " << c.state;
    EXPECT_EQ(first.id, 217u) << "the label keeps the identifier";
  }
}

TEST_F(MenuMerge, TheToggleLeavesTheFirstItemAsItWasUntilTheNextMerge) {
  Paint();
  EXPECT_TRUE(OnMenuCommand(m(), SimMenuCommand(menus_, 0)));
  EXPECT_EQ(m().race.state, kArmed);
  Paint();
  EXPECT_EQ(Popup().items[0].text, "&Entra in gara");
  EXPECT_EQ(Popup().items[0].state, 0u) << "not greyed before a new merge";
  SimGiveWindowMenuBar(menus_, 215, true);
  Paint();
  EXPECT_EQ(Popup().items[0].state, kMenuItemGrayed);
}

TEST_F(MenuMerge, TheMenuIsLoadedFromTheModulesOwnInstance) {
  Paint();
  auto loads = SimCallsNamed(host_, "LoadMenuA");
  ASSERT_EQ(loads.size(), 1u);
  EXPECT_EQ(static_cast<uintptr_t>(loads[0]->args[0]), host_.module_handle);
  EXPECT_EQ(loads[0]->args[1], 106);
  auto appended = SimCallsNamed(host_, "AppendMenuA");
  ASSERT_EQ(appended.size(), 1u);
  EXPECT_EQ(appended[0]->text, "&Aerilon");
  EXPECT_EQ(static_cast<uintptr_t>(appended[0]->args[0]), menus_.bar);
}

}  // namespace

// Another procedure hooked in on top of ours keeps ours in the window's
// chain after shutdown: from then on it passes every message on, and the
// module's code stays mapped for it.
TEST_F(MenuMerge, AfterShutdownUnderAnotherHookTheProcedureOnlyPassesMessagesOn) {
  Paint();
  uint32_t to_start_position = SimMenuCommand(menus_, 13);
  host_.window.window_proc = 0x00777000;
  ModuleDeinit(m());
  EXPECT_TRUE(host_.module_kept_loaded);
  EXPECT_EQ(host_.window.window_proc, 0x00777000u) << "the other hook keeps its place";

  const std::vector<uint8_t> state(host_.state, host_.state + sizeof host_.state);
  GiveBar(menus_, {Item(101), Item(102)});  // a new bar that a live module would merge into
  host_.calls.clear();
  uintptr_t window = host_.window.handle;
  EXPECT_FALSE(
      HandleMainWindowMessage(m(), MainWindowMessage::kCommand, window, to_start_position));
  EXPECT_FALSE(HandleMainWindowMessage(m(), MainWindowMessage::kNonClientPaint, window, 0));
  EXPECT_EQ(std::vector<uint8_t>(host_.state, host_.state + sizeof host_.state), state);
  EXPECT_TRUE(host_.calls.empty()) << "no menu, dialog or host call";
  EXPECT_EQ(PopupsInBar(), 0);
}
