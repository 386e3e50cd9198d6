// The "&Aerilon" popup in a real menu bar, and the commands of the main
// window: which ones the module takes, which ones it passes on, and what a
// start position command writes into the simulator's state.
#include <vector>

#include "common/little_endian.h"
#include "rally/host/host_interface.h"
#include "tests/win32/rally_host/call_expectations_win32.h"
#include "tests/win32/rally_host/dll_cases_win32.h"
#include "tests/win32/rally_host/host_window_win32.h"
#include "tests/win32/rally_host/merged_run_win32.h"

namespace {

std::vector<int> ItemIds(HMENU menu) {
  std::vector<int> ids;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    ids.push_back(static_cast<int>(GetMenuItemID(menu, i)));  // -1 for a submenu
  }
  return ids;
}

std::string Describe(const std::vector<int>& ids) {
  std::string s;
  for (int id : ids) s += (s.empty() ? "" : " ") + std::to_string(id);
  return "{" + s + "}";
}

bool FirstItemGrayed(HMENU popup) {
  return (GetMenuState(popup, 0, MF_BYPOSITION) & MF_GRAYED) != 0;
}

// Whether the host's own procedure saw exactly these WM_COMMANDs.
bool HostSawCommands(const std::vector<WPARAM>& expected) {
  std::vector<WPARAM> seen;
  for (const HostMessage& m : HostMessages()) {
    if (m.message == WM_COMMAND) seen.push_back(m.wparam);
  }
  return seen == expected;
}

std::string HostCommandsSeen() {
  std::string s;
  for (const HostMessage& m : HostMessages()) {
    if (m.message == WM_COMMAND) s += (s.empty() ? "" : ", ") + Hex(m.wparam);
  }
  return "the host's procedure saw: " + (s.empty() ? std::string("nothing") : s);
}

HMENU RallyPopup(HMENU bar) {
  return GetSubMenu(bar, GetMenuItemCount(bar) - 1);
}

void CheckThePopup(CheckReport& r, const std::string& p, HMENU bar) {
  r.Expect(GetMenuItemCount(bar) == kSimulatorBarItems + 1 &&
               MenuItemText(bar, kSimulatorBarItems) == "&Aerilon",
           p + "\"&Aerilon\" is appended as the bar's last item",
           "last item: \"" + MenuItemText(bar, GetMenuItemCount(bar) - 1) + "\"");
  HMENU popup = RallyPopup(bar);
  const std::vector<int> expected{217, 218, 219, 217, 220, -1, 217, 221};
  r.Expect(ItemIds(popup) == expected,
           p + "the popup's items are numbered from 217, separators to the base",
           "identifiers " + Describe(ItemIds(popup)));
  const std::vector<int> positions{223, 224, 225, 226, 227, 228, 229, 230};
  r.Expect(ItemIds(GetSubMenu(popup, 5)) == positions, p + "the start positions are 223 to 230",
           "identifiers " + Describe(ItemIds(GetSubMenu(popup, 5))));
  r.Expect(
      MenuItemText(popup, 0) == "&Entra in gara" && !FirstItemGrayed(popup),
      p + "out of the race the first item is \"&Entra in gara\", enabled",
      "\"" + MenuItemText(popup, 0) + "\", state " + Hex(GetMenuState(popup, 0, MF_BYPOSITION)));
  r.Expect(MenuItemText(popup, 1) == "Punte&ggio...\tCTRL-G" &&
               MenuItemText(popup, 7) == "&Informazioni su..." &&
               MenuItemText(GetSubMenu(popup, 5), 7) == "&8. Seashore Island",
           p + "the other items keep the texts of the resource",
           "\"" + MenuItemText(popup, 1) + "\", \"" + MenuItemText(popup, 7) + "\"");
}

void CheckWhatIsConsumed(CheckReport& r, const std::string& p, MergedRun& m) {
  ClearHostMessages();
  m.Command(kSimulatorCommand);
  m.Command(MAKEWPARAM(CommandOfSlot(0), 1));  // a notification code in the high word
  m.Command(kCommandLast + 1);
  m.Command(CommandOfSlot(0));  // the toggle: armed
  r.Expect(HostSawCommands({kSimulatorCommand, MAKEWPARAM(CommandOfSlot(0), 1), kCommandLast + 1}),
           p + "the simulator's commands and a command with a high word pass on; 217 does not",
           HostCommandsSeen());
}

void CheckTheGreyedToggleOnANewBar(CheckReport& r, const std::string& p, MergedRun& m) {
  m.ReplaceMenuBar();
  HMENU popup = RallyPopup(m.bar());
  r.Expect(
      GetMenuItemCount(m.bar()) == kSimulatorBarItems + 1 &&
          MenuItemText(popup, 0) == "&Entra in gara" && FirstItemGrayed(popup),
      p + "a new bar gets the popup again, its first item greyed while armed",
      "\"" + MenuItemText(popup, 0) + "\", state " + Hex(GetMenuState(popup, 0, MF_BYPOSITION)));
  r.Expect(ItemIds(popup).size() == 8 && ItemIds(popup)[0] == 217,
           p + "the new bar's commands start at 217 again", Describe(ItemIds(popup)));
}

void CheckTheLastStartPosition(CheckReport& r, const std::string& p, MergedRun& m) {
  const uint8_t* s = m.run.host.state;
  ClearHostMessages();
  m.Command(kCommandLast);  // "&8. Seashore Island"
  r.Expect(HostSawCommands({}), p + "the position command is consumed", HostCommandsSeen());
  r.Expect(load_i64le(s + sim_field::kAircraftLatitude) == FromUpperWord(0x002C79CB) &&
               load_i64le(s + sim_field::kAircraftLongitude) == FromUpperWord(0x79412977),
           p + "slot 13 puts the aircraft on Seashore Island",
           Hex(static_cast<uintptr_t>(load_u32le(s + sim_field::kAircraftLatitude + 4))) + ", " +
               Hex(static_cast<uintptr_t>(load_u32le(s + sim_field::kAircraftLongitude + 4))));
  r.Expect(SimRepositionAltitude(s) == ((int64_t{22} << 32) | 0xEB460000) &&
               SimAircraftHeading(s) == 0x97A50000u && SimAircraftPitch(s) == 0 &&
               SimAircraftBank(s) == 0,
           p + "at 22 m and 0xEB460000, heading 0x97A50000, level",
           "altitude " + Hex(static_cast<uintptr_t>(SimRepositionAltitude(s) >> 32)) + "." +
               Hex(static_cast<uintptr_t>(SimRepositionAltitude(s) & 0xFFFFFFFF)) + ", heading " +
               Hex(SimAircraftHeading(s)));
  r.Expect(
      SimRepositionMode(s) == 15 && SimRepositionRequest(s) == 1 && s[sim_field::kOnGround] == 1,
      p + "and asks the simulator to jump there (mode 15, request 1, on the ground)",
      "mode " + std::to_string(SimRepositionMode(s)) + ", request " +
          std::to_string(SimRepositionRequest(s)));
}

}  // namespace

void CheckMenuMergeAndCommands(CheckReport& r, const std::string& dll_path) {
  const std::string p = "menu: ";
  MergedRun m("menu", dll_path);
  m.folder.Write(kCoursePath, SampleCourseFile());
  if (!m.Start(r, p)) return;
  CheckThePopup(r, p, m.bar());
  CheckWhatIsConsumed(r, p, m);
  CheckTheGreyedToggleOnANewBar(r, p, m);
  CheckTheLastStartPosition(r, p, m);
  m.Finish(r, p);
}
