// The credits dialog of the real DLL, opened from its menu command: its
// texts as the resource holds them, and OK or Esc that close it with 1.
#include "tests/win32/rally_host/dialog_driver_win32.h"
#include "tests/win32/rally_host/dll_cases_win32.h"
#include "tests/win32/rally_host/dll_import_recorder_win32.h"
#include "tests/win32/rally_host/host_window_win32.h"
#include "tests/win32/rally_host/merged_run_win32.h"
#include "tests/win32/rally_host/screenshot_win32.h"

namespace {

constexpr uint32_t kCreditsSlot = 4;

struct CreditsOpening {
  int steps_run = 0;
  bool forced = false;
  INT_PTR result = -1000;
  size_t host_messages = 0;
};

CreditsOpening OpenCredits(MergedRun& m, std::vector<DialogStep> steps) {
  CreditsOpening o;
  size_t from = RecordedWinCalls().size();
  ClearHostMessages();
  {
    DialogDriver driver(std::move(steps));
    m.Command(CommandOfSlot(kCreditsSlot));
    o.steps_run = driver.steps_run();
    o.forced = driver.forced();
  }
  for (const WinCall& c : WinCallsTo("DialogBoxParamA", from)) {
    if (c.args[1] == 107) o.result = static_cast<INT_PTR>(c.result);
  }
  o.host_messages = HostMessages().size();
  return o;
}

std::string HowItClosed(const CreditsOpening& o) {
  return std::to_string(o.steps_run) + " steps run" + (o.forced ? ", closed by force" : "") +
         ", DialogBoxParamA(107) = " + std::to_string(o.result);
}

bool HasTextStartingWith(const std::vector<std::string>& texts, const std::string& start) {
  for (const std::string& t : texts) {
    if (t.compare(0, start.size(), start) == 0) return true;
  }
  return false;
}

bool AnyContains(const std::vector<std::string>& texts, const std::string& part) {
  for (const std::string& t : texts) {
    if (t.find(part) != std::string::npos) return true;
  }
  return false;
}

}  // namespace

void CheckCreditsDialog(CheckReport& r, const std::string& dll_path) {
  const std::string p = "credits: ";
  MergedRun m("credits", dll_path);
  m.folder.Write(kCoursePath, SampleCourseFile());
  if (!m.Start(r, p)) return;

  std::string caption, picture;
  std::vector<std::string> texts;
  CreditsOpening ok = OpenCredits(m, {[&](HWND d) {
                                        caption = WindowText(d);
                                        texts = ChildTexts(d);
                                        picture = SaveCasePicture(d, "credits");
                                      },
                                      [&](HWND d) { ClickButton(d, IDOK); }});
  r.Expect(ok.steps_run == 2 && !ok.forced && ok.result == 1,
           p + "the credits command opens dialog 107; OK gives 1", HowItClosed(ok));
  r.Expect(caption == "Aerilon - CREDITI" &&
               HasTextStartingWith(texts, "Ideato e realizzato da:\n") &&
               HasTextStartingWith(texts, "Voci di:\n") &&
               HasTextStartingWith(texts, "Si ringraziano:\n") &&
               HasTextStartingWith(texts, "Realizzato per Vesk da:\n"),
           p + "caption and the four blocks of text",
           "\"" + caption + "\", " + std::to_string(texts.size()) + " child texts");
  r.Expect(AnyContains(texts, "chiunque \xE8 salito") && AnyContains(texts, "2\xB0 Hangar"),
           p + "accented letters and the degree sign arrive as Latin-1", "");
  r.Expect(ok.host_messages == 0, p + "no menu-loop messages around the credits",
           std::to_string(ok.host_messages) + " messages reached the host");
  r.Expect(picture.empty(), p + "its picture is saved", picture);

  CreditsOpening esc = OpenCredits(m, {[&](HWND d) { PressEscape(d); }});
  r.Expect(esc.steps_run == 1 && !esc.forced && esc.result == 1, p + "Esc gives 1 too",
           HowItClosed(esc));
  m.Finish(r, p);
}
