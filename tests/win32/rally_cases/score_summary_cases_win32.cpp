// The score summary dialog of the real DLL, opened from its menu command
// and worked from the test host: the lines it shows, its product code line
// from the registry, its exit button greyed out of the race, and the
// results of its buttons.
#include <ctime>
#include <map>

#include "course_model/course.h"
#include "examples/compiled_sample_course.h"
#include "rally/course/score_table.h"
#include "rally/ui/verification_key.h"
#include "tests/win32/rally_host/call_expectations_win32.h"
#include "tests/win32/rally_host/dialog_driver_win32.h"
#include "tests/win32/rally_host/dll_cases_win32.h"
#include "tests/win32/rally_host/dll_import_recorder_win32.h"
#include "tests/win32/rally_host/host_window_win32.h"
#include "tests/win32/rally_host/merged_run_win32.h"
#include "tests/win32/rally_host/product_code_registry_win32.h"
#include "tests/win32/rally_host/screenshot_win32.h"

namespace {

constexpr int kLineControls[] = {1000, 1001, 1002, 1003, 1004, 1005, 1006, 1007,
                                 1008, 1009, 1010, 1015, 1016, 1018, 1019, 1046};
constexpr int kExitButton = 1040;
constexpr char kProductCode[] = "12345-OEM-0067890-12345";

struct SummaryView {
  std::string caption;
  std::map<int, std::string> lines;
  bool exit_enabled = false;
};

SummaryView ReadSummary(HWND dialog) {
  SummaryView v;
  v.caption = WindowText(dialog);
  for (int control : kLineControls) v.lines[control] = ControlText(dialog, control);
  v.exit_enabled = IsWindowEnabled(GetDlgItem(dialog, kExitButton)) != FALSE;
  return v;
}

uint32_t LegTotalWord(int leg) {
  return score::kLegScoreWord + score::kLegScoreWords * leg + score::kLegTotal;
}

// Legs of 600 and 400, P = 110 and E = 50: S = 1000, base 1100, bonus 150,
// total 1150. Nine names complete the word, so the key is shown.
std::vector<uint8_t> SummaryScoreFile() {
  return ScoreFileWith({{score::kPercentageWord, 110},
                        {score::kBonusPointsWord, 50},
                        {LegTotalWord(0), 600},
                        {LegTotalWord(1), 400}},
                       {"Ancona", "Bari", "Como", "Dolo", "Enna", "Fano", "Gela", "Imola", "Jesi"});
}

std::string Quoted(const std::string& s) {
  std::string q = "\"";
  for (char c : s)
    q += c == '\t' ? std::string("\\t") : c == '\n' ? std::string("\\n") : std::string(1, c);
  return q + "\"";
}

bool KeyShownFor(const std::string& line, int32_t total, uint32_t from, uint32_t to) {
  for (uint32_t t = from; t <= to; ++t) {
    if (line == std::string("Chiave:\t") + VerificationKey(total, t).text) return true;
  }
  return false;
}

// One opening of the summary from its menu command, worked by `steps`; the
// dialog's result as DialogBoxParamA returned it, -1000 when none ran.
struct Opening {
  int steps_run = 0;
  bool forced = false;
  INT_PTR result = -1000;
  bool owned_by_main_window = false;
  std::vector<HostMessage> host_messages;
};

Opening OpenSummary(MergedRun& m, std::vector<DialogStep> steps) {
  Opening o;
  size_t from = RecordedWinCalls().size();
  ClearHostMessages();
  {
    DialogDriver driver(std::move(steps));
    m.Command(CommandOfSlot(1));
    o.steps_run = driver.steps_run();
    o.forced = driver.forced();
  }
  for (const WinCall& c : WinCallsTo("DialogBoxParamA", from)) {
    if (c.args[1] == 101) {
      o.result = static_cast<INT_PTR>(c.result);
      o.owned_by_main_window = c.args[2] == reinterpret_cast<uintptr_t>(m.run.window());
    }
  }
  o.host_messages = HostMessages();
  return o;
}

bool ClosedWith(const Opening& o, INT_PTR result, int steps) {
  return o.steps_run == steps && !o.forced && o.result == result;
}

std::string HowItClosed(const Opening& o) {
  return std::to_string(o.steps_run) + " steps run" + (o.forced ? ", closed by force" : "") +
         ", DialogBoxParamA(101) = " + std::to_string(o.result);
}

void CheckTheLines(CheckReport& r, const std::string& p, const SummaryView& v, uint32_t from,
                   uint32_t to) {
  course_model::Course course = SampleCourse();
  r.Expect(v.caption == "Aerilon - Punteggio" && v.lines.at(1000) == course.first_title &&
               v.lines.at(1001) == course.second_title && v.lines.at(1002).empty(),
           p + "caption, the two titles, and no leg status before any leg",
           Quoted(v.caption) + ", " + Quoted(v.lines.at(1000)) + ", " + Quoted(v.lines.at(1001)) +
               ", " + Quoted(v.lines.at(1002)));
  r.Expect(
      v.lines.at(1003) == " 1:   600" && v.lines.at(1004) == " 2:   400" &&
          v.lines.at(1005) == "-" && v.lines.at(1010) == "-",
      p + "one line per leg of the course: \" 1:   600\", \" 2:   400\"",
      Quoted(v.lines.at(1003)) + ", " + Quoted(v.lines.at(1004)) + ", " + Quoted(v.lines.at(1005)));
  r.Expect(v.lines.at(1015) == "Bonus:\t   150" && v.lines.at(1016) == "Totale\t  1150",
           p + "S 1000, P 110, E 50: bonus 150, total 1150",
           Quoted(v.lines.at(1015)) + ", " + Quoted(v.lines.at(1016)));
  r.Expect(v.lines.at(1019) == "Parola:\tA B C D E F G I J",
           p + "the word line spells the nine names' initials", Quoted(v.lines.at(1019)));
  r.Expect(KeyShownFor(v.lines.at(1018), 1150, from, to),
           p + "the key line holds the verification key of 1150 at the time of opening",
           Quoted(v.lines.at(1018)));
  r.Expect(v.lines.at(1046) == std::string("Cod. Prod:\n") + kProductCode,
           p + "the product code from the registry, on its second line", Quoted(v.lines.at(1046)));
  r.Expect(!v.exit_enabled, p + "out of the race \"&Esci di gara\" is greyed", "enabled");
}

void CheckFirstOpening(CheckReport& r, const std::string& p, MergedRun& m) {
  SummaryView seen;
  std::string picture;
  uint32_t from = static_cast<uint32_t>(std::time(nullptr));
  Opening o = OpenSummary(m, {[&](HWND d) {
                                seen = ReadSummary(d);
                                picture = SaveCasePicture(d, "score_summary");
                              },
                              [&](HWND d) { ClickButton(d, IDOK); }});
  uint32_t to = static_cast<uint32_t>(std::time(nullptr));
  if (!r.Expect(ClosedWith(o, 1, 2) && o.owned_by_main_window,
                p + "the score command opens dialog 101 over the main window; OK gives 1",
                HowItClosed(o))) {
    return;
  }
  CheckTheLines(r, p, seen, from, to);
  r.Expect(picture.empty(), p + "its picture is saved", picture);
  bool menu_loop = o.host_messages.size() == 2 && o.host_messages[0].message == WM_ENTERMENULOOP &&
                   o.host_messages[1].message == WM_EXITMENULOOP;
  r.Expect(menu_loop, p + "the dialog runs between WM_ENTERMENULOOP and WM_EXITMENULOOP",
           std::to_string(o.host_messages.size()) + " messages reached the host");
}

size_t FindShowText(const SimHost& host, size_t from, const std::string& text) {
  for (size_t i = from; i < host.calls.size(); ++i) {
    if (host.calls[i].op == "show_text" && host.calls[i].text == text) return i;
  }
  return host.calls.size();
}

void CheckExitWhileArmed(CheckReport& r, const std::string& p, MergedRun& m,
                         ProductCodeValue& code) {
  code.Remove();
  m.Command(CommandOfSlot(0));  // armed
  SummaryView seen;
  size_t from = m.run.host.calls.size();
  Opening o = OpenSummary(
      m, {[&](HWND d) { seen = ReadSummary(d); }, [&](HWND d) { ClickButton(d, kExitButton); }});
  r.Expect(ClosedWith(o, 1040, 2), p + "armed, \"&Esci di gara\" is enabled and gives 1040",
           HowItClosed(o) + (seen.exit_enabled ? "" : ", the button was greyed"));
  r.Expect(seen.lines[1046] == "Cod. Prod: non trovato",
           p + "without the registry value the product code is \"non trovato\"",
           Quoted(seen.lines[1046]));
  size_t notice = FindShowText(m.run.host, from, "Tratta interrotta");
  bool shown = notice < m.run.host.calls.size();
  bool voiced = false;
  for (size_t i = notice; shown && i < m.run.host.calls.size(); ++i) {
    voiced = voiced || (m.run.host.calls[i].op == "load_sound" &&
                        m.run.host.calls[i].text == "ADV\\RALLY\\Abort");
  }
  r.Expect(shown && voiced, p + "leaving the race shows \"Tratta interrotta\" with its prompt",
           DescribeSimCalls(m.run.host, from));
}

void CheckEscAndCloseBoxOutOfTheRace(CheckReport& r, const std::string& p, MergedRun& m) {
  SummaryView seen;
  Opening esc =
      OpenSummary(m, {[&](HWND d) { seen = ReadSummary(d); }, [&](HWND d) { PressEscape(d); }});
  r.Expect(ClosedWith(esc, 1, 2) && !seen.exit_enabled,
           p + "after leaving, the exit button is greyed again; Esc gives 1", HowItClosed(esc));
  Opening close = OpenSummary(m, {[&](HWND d) { PressCloseBox(d); }});
  r.Expect(ClosedWith(close, 1, 1), p + "the close box gives 1", HowItClosed(close));
}

}  // namespace

void CheckScoreSummaryDialog(CheckReport& r, const std::string& dll_path) {
  const std::string p = "score summary: ";
  ProductCodeValue code;
  code.Set(kProductCode);
  MergedRun m("score-summary", dll_path);
  m.folder.Write(kCoursePath, SampleCourseFile());
  m.folder.Write(kScorePath, SummaryScoreFile());
  if (!m.Start(r, p)) return;
  CheckFirstOpening(r, p, m);
  CheckExitWhileArmed(r, p, m, code);
  CheckEscAndCloseBoxOutOfTheRace(r, p, m);
  m.Finish(r, p);
}
