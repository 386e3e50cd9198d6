#include "tools/aerilon-course/scores/score_report.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "common/printable_text.h"
#include "rally/course/course_format.h"
#include "rally/course/score_arithmetic.h"
#include "rally/course/score_table.h"
#include "rally/ui/score_summary_lines.h"
#include "tools/aerilon-course/scores/memory_file_platform.h"

using course_model::Course;

namespace {

constexpr int32_t kWordLetters = score_summary::kWordLetters;

// The score table exactly as the module reads it from these bytes.
class ModuleRead {
 public:
  ModuleRead(const std::vector<uint8_t>& bytes, int32_t question_count) {
    file_.bytes = &bytes;
    platform_ = MakeMemoryFilePlatform(&file_);
    ReadScoreFile(table_, platform_, "Rally.SCO", question_count);
  }
  ~ModuleRead() { ReleaseNamePool(table_, platform_); }
  ModuleRead(const ModuleRead&) = delete;
  ModuleRead& operator=(const ModuleRead&) = delete;
  const ScoreTable& table() const { return table_; }

 private:
  MemoryFile file_{};
  PlatformOps platform_{};
  ScoreTable table_{};
};

// What the report needs of the course; without one, every record counts.
struct CourseView {
  const Course* course;
  int32_t leg_count;
  int32_t question_count;
};

CourseView ViewOf(const Course* course) {
  if (course == nullptr) return CourseView{nullptr, course::kMaxLegs, course::kMaxQuestions};
  int32_t legs = course->leg_count.value_or(static_cast<int32_t>(course->legs.size()));
  int32_t questions = static_cast<int32_t>(course->questions.size());
  return CourseView{course, std::clamp(legs, 0, course::kMaxLegs),
                    std::clamp(questions, 0, course::kMaxQuestions)};
}

class Report {
 public:
  // A formatted line of any length: course texts have no limit.
  __attribute__((format(printf, 2, 3))) void Line(const char* format, ...) {
    va_list args, again;
    va_start(args, format);
    va_copy(again, args);
    int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string line(length > 0 ? static_cast<size_t>(length) : 0, '\0');
    std::vsnprintf(line.data(), line.size() + 1, format, again);
    va_end(again);
    Text(line);
  }
  void Text(const std::string& line) { text_ += line + '\n'; }
  const std::string& Result() const { return text_; }

 private:
  std::string text_;
};

// A text of the course or the score file as the terminal may show it.
std::string Shown(const std::string& bytes) {
  return PrintableText(bytes, TextEncoding::kWindows1252);
}

std::string Quoted(const std::string& bytes) {
  return "\"" + Shown(bytes) + "\"";
}

bool SlotIsEmpty(const char* name) {
  return name == nullptr || name[0] == '\0';
}

void DescribeCourse(Report& r, const std::vector<uint8_t>& bytes, const CourseView& v) {
  r.Line("Score file: %zu bytes.", bytes.size());
  if (v.course == nullptr) {
    r.Text("Course: not known; every leg record and quiz state that is not zero is shown.");
    r.Text("(Give --course Rally.DAT to count only the course's legs and to name its questions.)");
    return;
  }
  std::string titles;
  for (const std::string* title : {&v.course->first_title, &v.course->second_title}) {
    if (title->empty()) continue;
    titles += (titles.empty() ? " " : " / ") + Quoted(*title);
  }
  r.Line("Course%s: %d legs, %d quiz questions.", titles.c_str(), v.leg_count, v.question_count);
}

// What the module makes of a file that is not as it writes them: a short
// block, and a name pool that lacks names or holds more than twenty.
void DescribeOddities(Report& r, const std::vector<uint8_t>& bytes) {
  if (bytes.size() < score::kBlockBytes) {
    r.Line(
        "Note: the file is shorter than the %u-byte score block. The module reads it as no score "
        "file at all (percentage 100, no results, no names); that is what is shown below.",
        score::kBlockBytes);
    return;
  }
  size_t at = score::kBlockBytes;
  int32_t names = 0;
  while (names < score::kNameSlots && at < bytes.size()) {
    const void* nul = std::memchr(bytes.data() + at, 0, bytes.size() - at);
    if (nul == nullptr) {
      r.Line(
          "Note: the name in slot %d has no terminating NUL: the file seems cut short; the module "
          "reads that name up to the end of the file and leaves the later slots empty.",
          names);
      return;
    }
    at = static_cast<size_t>(static_cast<const uint8_t*>(nul) - bytes.data()) + 1;
    names += 1;
  }
  if (names == 0) {
    r.Text(
        "Note: no names follow the score block (the module always writes all 20 name slots): the "
        "file seems cut short; every name slot is read as empty.");
  } else if (names < score::kNameSlots) {
    r.Line(
        "Note: the names end after %d of the 20 slots: the file seems cut short; slots %d to 19 "
        "are read as empty.",
        names, names);
  } else if (at < bytes.size()) {
    r.Line("Note: %zu bytes after the 20th name slot are not read by the module.",
           bytes.size() - at);
  }
}

bool LegRecordIsZero(const ScoreTable& t, int32_t leg) {
  for (uint32_t value = 0; value < score::kLegScoreWords; ++value) {
    if (BestLegValue(t, leg, static_cast<int32_t>(value)) != 0) return false;
  }
  return true;
}

void LegRow(Report& r, const ScoreTable& t, int32_t leg) {
  if (LegRecordIsZero(t, leg)) {
    r.Line("%5d  no result yet", leg + 1);
    return;
  }
  r.Line("%5d %9d %9d %9d %9d %9d %9d", leg + 1, BestLegValue(t, leg, 0), BestLegValue(t, leg, 1),
         BestLegValue(t, leg, 2), BestLegValue(t, leg, 3), BestLegValue(t, leg, 4),
         BestLegValue(t, leg, 5));
}

void LegHeading(Report& r, const char* title) {
  r.Text(title);
  r.Line("%5s %9s %9s %9s %9s %9s %9s", "leg", "base", "bonus", "time", "precision", "aids",
         "total");
}

// Records from `first` on that hold something, under their own title;
// false when there is none.
bool NonZeroLegRows(Report& r, const ScoreTable& t, int32_t first, const char* title) {
  bool any = false;
  for (int32_t leg = first; leg < course::kMaxLegs; ++leg) {
    if (LegRecordIsZero(t, leg)) continue;
    if (!any) LegHeading(r, title);
    any = true;
    LegRow(r, t, leg);
  }
  return any;
}

void DescribeLegs(Report& r, const ScoreTable& t, const CourseView& v) {
  r.Text("");
  if (v.course == nullptr) {
    if (!NonZeroLegRows(r, t, 0, "Leg records that are not zero (best result of each leg):")) {
      r.Text("Best results: no leg has a result yet.");
    }
    return;
  }
  if (v.leg_count == 0) {
    r.Text("Best results: the course has no legs.");
  } else {
    LegHeading(r, "Best result of each leg:");
    for (int32_t leg = 0; leg < v.leg_count; ++leg) LegRow(r, t, leg);
  }
  char title[128];
  std::snprintf(title, sizeof title,
                "Leg records beyond the course's %d legs (not counted):", v.leg_count);
  NonZeroLegRows(r, t, v.leg_count, title);
}

void DescribeOverall(Report& r, const ScoreTable& t, const CourseView& v) {
  int64_t sum = 0;
  for (int32_t leg = 0; leg < v.leg_count; ++leg) sum += BestLegTotal(t, leg);
  int32_t percentage = ScorePercentage(t);
  int32_t points = ScoreBonusPoints(t);
  int32_t overall = OverallResult(t, v.leg_count);
  r.Text("");
  if (v.course == nullptr) {
    r.Line(
        "Sum of the best totals of all 20 leg records: %lld (the course's leg count decides "
        "which legs count)",
        static_cast<long long>(sum));
  } else if (v.leg_count == 0) {
    r.Text("Sum of the best totals: 0 (the course has no legs)");
  } else {
    r.Line("Sum of the best totals of legs 1 to %d: %lld", v.leg_count,
           static_cast<long long>(sum));
  }
  r.Line("Percentage: %d %%", percentage);
  r.Line("Bonus points: %d", points);
  // Scores are 32-bit: the module holds a result beyond the range at its end.
  bool at_limit = overall == INT32_MAX || overall == INT32_MIN;
  r.Line("Overall result: %lld x %d / 100 + %d = %d%s", static_cast<long long>(sum), percentage,
         points, overall, at_limit ? " (the 32-bit limit of scores)" : "");
  ScoreSummaryFigures figures = SummaryFigures(sum, percentage, points);
  r.Line("The score summary shows it as \"Bonus: %d\" and \"Totale %d\".", figures.bonus,
         figures.total);
}

// "bonus object 1 (at most 3 takes)" for each of the course's objects on
// the slot, or an empty text. Objects sharing a slot share its counter,
// each against its own maximum.
std::string ObjectsOnSlot(const CourseView& v, int32_t slot, int32_t takes) {
  std::string objects;
  if (v.course == nullptr) return objects;
  const auto& all = v.course->bonus_objects;
  for (size_t i = 0; i < all.size(); ++i) {
    if (all[i].counter_slot != slot) continue;
    objects += (objects.empty() ? "" : ", ") + std::string("bonus object ") +
               std::to_string(i + 1) + " (at most " + std::to_string(all[i].max_takes) + " takes" +
               (takes >= all[i].max_takes ? ", none left)" : ")");
  }
  return objects;
}

void DescribeTakes(Report& r, const ScoreTable& t, const CourseView& v) {
  r.Text("");
  bool any = false;
  for (int32_t slot = 0; slot < course::kScoreSlots; ++slot) {
    int32_t takes = TakeCounter(t, slot);
    std::string objects = ObjectsOnSlot(v, slot, takes);
    if (takes == 0 && objects.empty()) continue;
    if (!any) r.Text("Bonus objects taken (take counter of each slot):");
    any = true;
    if (v.course != nullptr && objects.empty()) objects = "no bonus object of the course";
    r.Line("  slot %2d: %d %s%s%s", slot, takes, takes == 1 ? "take" : "takes",
           objects.empty() ? "" : "; ", objects.c_str());
  }
  if (!any) r.Text("Bonus objects taken: none.");
}

// The state as the quiz treats it: bit 0 asked, bits 0 and 1 wrong.
std::string QuizStateText(int32_t state) {
  std::string text;
  if ((state & score::kQuizAsked) == 0) {
    text = "not yet asked";
  } else if (state & score::kQuizWrong) {
    text = "answered wrong, to be asked again";
  } else {
    text = "asked, answered right";
  }
  const int32_t both = score::kQuizAsked | score::kQuizWrong;
  if (state != 0 && state != score::kQuizAsked && state != both) {
    text += " (stored value " + std::to_string(state) + ")";
  }
  return text;
}

void QuizRow(Report& r, const ScoreTable& t, const CourseView& v, int32_t question) {
  std::string state = QuizStateText(QuizState(t, question));
  if (v.course == nullptr || question >= v.question_count) {
    r.Line("  %2d  %s", question + 1, state.c_str());
    return;
  }
  r.Line("  %2d  %-34s  %s", question + 1, state.c_str(),
         Quoted(v.course->questions[static_cast<size_t>(question)].question.Bytes()).c_str());
}

bool NonZeroQuizRows(Report& r, const ScoreTable& t, const CourseView& v, int32_t first,
                     const char* title) {
  bool any = false;
  for (int32_t question = first; question < course::kMaxQuestions; ++question) {
    if (QuizState(t, question) == 0) continue;
    if (!any) r.Text(title);
    any = true;
    QuizRow(r, t, v, question);
  }
  return any;
}

void DescribeQuiz(Report& r, const ScoreTable& t, const CourseView& v) {
  r.Text("");
  if (v.course == nullptr) {
    if (!NonZeroQuizRows(r, t, v, 0, "Quiz states that are not zero (by question number):")) {
      r.Text("Quiz: no question asked yet.");
    }
    return;
  }
  if (v.question_count == 0) {
    r.Text("Quiz: the course has no questions.");
  } else {
    int32_t right = v.question_count - t.unasked_count - t.wrong_count;
    r.Line("Quiz: %d questions; %d not yet asked, %d answered wrong, %d answered right:",
           v.question_count, t.unasked_count, t.wrong_count, right);
    for (int32_t q = 0; q < v.question_count; ++q) QuizRow(r, t, v, q);
    if (t.unasked_count <= 0 && t.wrong_count <= 0) {
      r.Text("Every question has been answered right: the next quiz makes them all new again.");
    }
  }
  char title[128];
  std::snprintf(title, sizeof title,
                "Quiz states beyond the course's %d questions (not used):", v.question_count);
  NonZeroQuizRows(r, t, v, v.question_count, title);
}

void DescribeNames(Report& r, const ScoreTable& t) {
  r.Text("");
  int32_t held = 0;
  for (int32_t slot = 0; slot < score::kNameSlots; ++slot) held += !SlotIsEmpty(NameSlot(t, slot));
  if (held == 0) {
    r.Text("Collected names: none yet.");
    return;
  }
  r.Line("Collected names (%d of the 20 slots):", held);
  for (int32_t slot = 0; slot < score::kNameSlots; ++slot) {
    const char* name = NameSlot(t, slot);
    if (!SlotIsEmpty(name)) r.Line("  slot %2d: %s", slot, Shown(name).c_str());
  }
}

std::string Letter(const char* name) {
  return Shown(std::string(1, name[0]));
}

// The word as the score summary shows it (the letters of the slots before
// the first empty one), and every letter by its slot.
void DescribeHiddenWord(Report& r, const ScoreTable& t) {
  std::string shown, by_slot;
  bool gap = false;
  for (int32_t slot = 0; slot < kWordLetters; ++slot) {
    const char* name = NameSlot(t, slot);
    gap = gap || SlotIsEmpty(name);
    std::string letter = SlotIsEmpty(name) ? "_" : Letter(name);
    if (!gap) shown += (shown.empty() ? "" : " ") + letter;
    by_slot += (by_slot.empty() ? "" : " ") + letter;
  }
  r.Text("");
  r.Line("Hidden word so far, as the score summary shows it: %s",
         shown.empty() ? "(no letter yet)" : shown.c_str());
  r.Line("Letters of name slots 0 to 8 (_: slot still empty): %s", by_slot.c_str());
  r.Text(SlotIsEmpty(NameSlot(t, kWordLetters - 1))
             ? "Verification key: not shown yet (slot 8 is empty)."
             : "Verification key: shown in the score summary (slot 8 holds a name).");
}

}  // namespace

std::string DescribeScoreFile(const std::vector<uint8_t>& file_bytes, const Course* course) {
  CourseView view = ViewOf(course);
  ModuleRead read(file_bytes, view.question_count);
  const ScoreTable& table = read.table();
  Report report;
  DescribeCourse(report, file_bytes, view);
  DescribeOddities(report, file_bytes);
  DescribeLegs(report, table, view);
  DescribeOverall(report, table, view);
  DescribeTakes(report, table, view);
  DescribeQuiz(report, table, view);
  DescribeNames(report, table);
  DescribeHiddenWord(report, table);
  return report.Result();
}
