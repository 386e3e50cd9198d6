// The quiz dialog of the real DLL, asked by the quiz command during a leg
// and worked from the test host: the question and its answers, Esc and the
// close box that do not end it, the first OK that shows the final verdict,
// the second that closes it with 1 or 2.
#include "course_model/course_writer.h"
#include "rally/host/host_interface.h"
#include "tests/win32/rally_host/call_expectations_win32.h"
#include "tests/win32/rally_host/dialog_driver_win32.h"
#include "tests/win32/rally_host/dll_cases_win32.h"
#include "tests/win32/rally_host/dll_import_recorder_win32.h"
#include "tests/win32/rally_host/host_window_win32.h"
#include "tests/win32/rally_host/merged_run_win32.h"
#include "tests/win32/rally_host/screenshot_win32.h"

namespace {

using namespace course_model;

constexpr int32_t kCentreLat = 0x002CB9F3;
constexpr int32_t kCentreLon = 0x79457C16;
constexpr int32_t kLonUnitsPerMetre = 120;
constexpr int32_t kAnyHeading = 65536;
constexpr uint32_t kQuizSlot = 5;
constexpr int kFirstAnswer = 1041;
constexpr char kQuestion[] =
    "Qual \xE8 la citt\xE0 pi\xF9 vicina alla pista di Kestrin's Municipal?";
constexpr char kRightAnswer[] = "Sidelake, a nord-est";
constexpr char kRightVerdict[] = "BENE! Risposta CORRETTA!";
constexpr char kWrongVerdict[] = "Spiacente... risposta SBAGLIATA.";

// One leg whose start gate is where the aircraft stands, with a waypoint
// far away so that the leg keeps running, and one question.
Course QuizCourse() {
  Course c;
  c.first_title = "Quiz";
  c.second_title = "Una domanda";
  Leg leg;
  leg.start =
      StartGate{Box{kCentreLat - 300, kCentreLat + 300, kCentreLon - 300 * kLonUnitsPerMetre,
                    kCentreLon + 300 * kLonUnitsPerMetre},
                300,
                100,
                60 * 128,
                220 * 128,
                kAnyHeading};
  leg.records = {Waypoint{kCentreLat + 20000, kCentreLon, 300, 300, 200, kAnyHeading, "", ""}};
  leg.end = LegEnd{500, 900, 1};
  c.legs = {leg};
  c.questions = {{kQuestion, kRightAnswer, "Portocorvo, a sud", "Ventoterso, a ovest", 30}};
  return c;
}

void StandInTheStartGate(SimHost& host) {
  SetSimAircraftLatitude(host.state, FromUpperWord(kCentreLat));
  SetSimAircraftLongitude(host.state, FromUpperWord(kCentreLon));
  SetSimAircraftAltitude(host.state, FromUpperWord(300));
  SetSimAircraftSpeed(host.state, 100 * 128);
}

struct QuizView {
  std::string caption, question, verdict;
  std::string answers[3];
  int checked = -1;  // the checked radio button, -1 when none
};

QuizView ReadQuiz(HWND dialog) {
  QuizView v;
  v.caption = WindowText(dialog);
  v.question = ControlText(dialog, 1044);
  v.verdict = ControlText(dialog, 1045);
  for (int i = 0; i < 3; ++i) {
    v.answers[i] = ControlText(dialog, kFirstAnswer + i);
    if (IsDlgButtonChecked(dialog, kFirstAnswer + i) == BST_CHECKED) v.checked = kFirstAnswer + i;
  }
  return v;
}

int AnswerControl(HWND dialog, bool right) {
  for (int i = 0; i < 3; ++i) {
    bool is_right = ControlText(dialog, kFirstAnswer + i) == kRightAnswer;
    if (is_right == right) return kFirstAnswer + i;
  }
  return kFirstAnswer;
}

struct QuizOpening {
  int steps_run = 0;
  bool forced = false;
  int dialogs = 0;
  INT_PTR result = -1000;
};

QuizOpening AskQuiz(MergedRun& m, std::vector<DialogStep> steps) {
  QuizOpening o;
  size_t from = RecordedWinCalls().size();
  {
    DialogDriver driver(std::move(steps));
    m.Command(CommandOfSlot(kQuizSlot));
    o.steps_run = driver.steps_run();
    o.forced = driver.forced();
  }
  for (const WinCall& c : WinCallsTo("DialogBoxParamA", from)) {
    o.dialogs += 1;
    if (c.args[1] == 102) o.result = static_cast<INT_PTR>(c.result);
  }
  return o;
}

std::string HowItClosed(const QuizOpening& o) {
  return std::to_string(o.dialogs) + " dialogs, " + std::to_string(o.steps_run) + " steps run" +
         (o.forced ? ", closed by force" : "") +
         ", DialogBoxParamA(102) = " + std::to_string(o.result);
}

void CheckNoQuizOutsideALeg(CheckReport& r, const std::string& p, MergedRun& m) {
  ClearHostMessages();
  QuizOpening o = AskQuiz(m, {});
  r.Expect(o.dialogs == 0 && HostMessages().empty(),
           p + "out of a leg the quiz command is consumed and asks nothing", HowItClosed(o));
}

bool StartTheLeg(CheckReport& r, const std::string& p, MergedRun& m) {
  StandInTheStartGate(m.run.host);
  size_t from = m.run.host.calls.size();
  m.Command(CommandOfSlot(0));
  m.run.Ticks(16);
  bool started = false;
  for (size_t i = from; i < m.run.host.calls.size(); ++i) {
    started = started || m.run.host.calls[i].text == "TRATTA 1 INIZIATA!";
  }
  return r.Expect(started, p + "armed in the start gate, leg 1 starts",
                  DescribeSimCalls(m.run.host, from));
}

void CheckARightAnswer(CheckReport& r, const std::string& p, MergedRun& m) {
  QuizView opened, after_esc, after_close, answered;
  std::string picture;
  QuizOpening o =
      AskQuiz(m, {[&](HWND d) { opened = ReadQuiz(d); }, [&](HWND d) { PressEscape(d); },
                  [&](HWND d) {
                    after_esc = ReadQuiz(d);
                    PressCloseBox(d);
                  },
                  [&](HWND d) {
                    after_close = ReadQuiz(d);
                    ClickButton(d, AnswerControl(d, true));
                  },
                  [&](HWND d) { ClickButton(d, IDOK); },
                  [&](HWND d) {
                    answered = ReadQuiz(d);
                    picture = SaveCasePicture(d, "quiz");
                    ClickButton(d, AnswerControl(d, false));  // too late: the first press was final
                  },
                  [&](HWND d) { ClickButton(d, IDOK); }});
  r.Expect(o.dialogs == 1 && o.steps_run == 7 && !o.forced,
           p + "the quiz command opens dialog 102 and the second OK closes it", HowItClosed(o));
  r.Expect(opened.caption == "Aerilon - QUIZ" && opened.question == kQuestion &&
               opened.verdict == " " && opened.checked == kFirstAnswer,
           p + "caption, the question with its accents, no verdict, the first answer preselected",
           "\"" + opened.caption + "\", \"" + opened.question + "\", \"" + opened.verdict +
               "\", checked " + std::to_string(opened.checked));
  int right = 0;
  for (const std::string& a : opened.answers) right += a == kRightAnswer ? 1 : 0;
  r.Expect(right == 1, p + "the three answers are shown, the right one once",
           opened.answers[0] + " | " + opened.answers[1] + " | " + opened.answers[2]);
  r.Expect(after_esc.verdict == " " && after_close.verdict == " ",
           p + "Esc and the close box leave the dialog open and unanswered",
           "\"" + after_esc.verdict + "\", \"" + after_close.verdict + "\"");
  r.Expect(answered.verdict == kRightVerdict, p + "the first OK shows the verdict of the answer",
           "\"" + answered.verdict + "\"");
  r.Expect(o.result == 1, p + "a right answer closes with 1, whatever was checked afterwards",
           HowItClosed(o));
  r.Expect(picture.empty(), p + "its picture is saved", picture);
}

void CheckAWrongAnswer(CheckReport& r, const std::string& p, MergedRun& m) {
  QuizView answered;
  QuizOpening o = AskQuiz(m, {[&](HWND d) { ClickButton(d, AnswerControl(d, false)); },
                              [&](HWND d) { ClickButton(d, IDOK); },
                              [&](HWND d) {
                                answered = ReadQuiz(d);
                                ClickButton(d, IDOK);
                              }});
  r.Expect(o.dialogs == 1 && o.steps_run == 3 && !o.forced,
           p + "answered right, the only question is asked again", HowItClosed(o));
  r.Expect(answered.verdict == kWrongVerdict && o.result == 2,
           p + "a wrong answer shows \"Spiacente...\" and closes with 2",
           "\"" + answered.verdict + "\", " + HowItClosed(o));
}

}  // namespace

void CheckQuizDialog(CheckReport& r, const std::string& dll_path) {
  const std::string p = "quiz: ";
  MergedRun m("quiz", dll_path);
  m.folder.Write(kCoursePath, EncodeCourseFile(QuizCourse()));
  if (!m.Start(r, p)) return;
  CheckNoQuizOutsideALeg(r, p, m);
  if (StartTheLeg(r, p, m)) {
    CheckARightAnswer(r, p, m);
    CheckAWrongAnswer(r, p, m);
  }
  m.Finish(r, p);
}
