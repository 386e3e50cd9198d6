#include "tools/aerilon-course/check/check.h"

#include <filesystem>
#include <system_error>

#include "rally/course/course_format.h"
#include "tools/aerilon-course/check/check_rules.h"

using course_model::Course;
using course_model::EntrySlot;

namespace {

void CheckCounts(LintReport& report) {
  const Course& c = report.course();
  if (c.legs.empty()) {
    report.Error(TheCourse(), "the course has no legs ([[leg]]): there is no race to fly");
  }
  if (c.legs.size() > static_cast<size_t>(course::kMaxLegs)) {
    report.Error(TheCourse(), "the course has " + lint_text::Count(c.legs.size(), "leg") +
                                  "; the score file keeps at most " +
                                  std::to_string(course::kMaxLegs) +
                                  ", and the module refuses the course");
  }
  if (c.questions.size() > static_cast<size_t>(course::kMaxQuestions)) {
    report.Error(TheCourse(),
                 "the course has " + lint_text::Count(c.questions.size(), "quiz question") +
                     "; the score file keeps at most " + std::to_string(course::kMaxQuestions) +
                     ", and the module refuses the course");
  }
  if (!c.leg_count) return;
  if (*c.leg_count < 0 || *c.leg_count > course::kMaxLegs) {
    report.Error(TheCourse(), "the header's leg count " + std::to_string(*c.leg_count) +
                                  " is outside 0 to " + std::to_string(course::kMaxLegs) +
                                  ": the module refuses the course");
  } else if (static_cast<size_t>(*c.leg_count) != c.legs.size()) {
    report.Warning(TheCourse(), "the header's leg count is " + std::to_string(*c.leg_count) +
                                    " but the course has " +
                                    lint_text::Count(c.legs.size(), "leg") +
                                    ": the score summary lists and adds up legs 1 to " +
                                    std::to_string(*c.leg_count));
  }
}

void CheckTitles(LintReport& report) {
  if (report.course().first_title.empty()) {
    report.Warning(TheCourse(), "the course has no title: the score summary shows none");
  }
  const char* const kWhich[] = {"first", "second"};
  const std::string* titles[] = {&report.course().first_title, &report.course().second_title};
  for (int i = 0; i < 2; ++i) {
    if (titles[i]->size() < course::kTitleBytes) continue;
    report.Error(TheCourse(), std::string("the ") + kWhich[i] + " title is " +
                                  std::to_string(titles[i]->size()) + " bytes long; at most " +
                                  std::to_string(course::kTitleBytes - 1) +
                                  " fit before its terminator");
  }
}

// Every leg and bonus object exactly once, or the other rules of the
// order say nothing.
bool EntryOrderListsEachOnce(LintReport& report, const std::vector<EntrySlot>& order) {
  const Course& c = report.course();
  std::vector<int> legs(c.legs.size()), bonus(c.bonus_objects.size());
  for (const EntrySlot& slot : order) {
    if (slot.kind == EntrySlot::kIgnored) continue;
    std::vector<int>& seen = slot.kind == EntrySlot::kLeg ? legs : bonus;
    if (slot.index >= seen.size() || ++seen[slot.index] > 1) {
      report.Error(TheCourse(),
                   "the entry order names a leg or bonus object twice or one that "
                   "does not exist");
      return false;
    }
  }
  for (const std::vector<int>* seen : {&legs, &bonus}) {
    for (int count : *seen) {
      if (count == 0) {
        report.Error(TheCourse(), "the entry order leaves out a leg or bonus object");
        return false;
      }
    }
  }
  return true;
}

// A leg's score counts only when every entry before it holds a leg with a
// recorded score, and only entries 0 to 19 have a score record.
void CheckEntryOrder(LintReport& report) {
  std::vector<EntrySlot> order = EntryOrder(report.course());
  if (!EntryOrderListsEachOnce(report, order)) return;
  std::optional<size_t> first_other;
  for (size_t entry = 0; entry < order.size(); ++entry) {
    const EntrySlot& slot = order[entry];
    if (slot.kind != EntrySlot::kLeg) {
      if (!first_other) first_other = entry;
      continue;
    }
    std::string at = "it stands at entry " + std::to_string(entry + 1);
    if (entry >= static_cast<size_t>(course::kMaxLegs)) {
      report.Error(LegOf(slot.index), at + ", but only entries 1 to " +
                                          std::to_string(course::kMaxLegs) +
                                          " have a score record: the module refuses the course");
    } else if (first_other) {
      report.Error(LegOf(slot.index),
                   at + ", after entry " + std::to_string(*first_other + 1) +
                       ", which is not a leg: a leg's score is recorded only when every entry "
                       "before it is a leg with a recorded score, so this one never is");
    }
  }
}

void CheckQuiz(LintReport& report) {
  const Course& c = report.course();
  bool any_timer = false;
  for (size_t leg = 0; leg < c.legs.size(); ++leg) {
    for (size_t r = 0; r < c.legs[leg].records.size(); ++r) {
      if (!std::holds_alternative<course_model::QuizTimer>(c.legs[leg].records[r])) continue;
      any_timer = true;
      if (c.questions.empty()) {
        report.Warning(RecordOf(leg, r), "the course has no quiz questions, so none is asked");
      }
    }
  }
  if (!any_timer && !c.questions.empty()) {
    report.Warning(TheCourse(), "the course has " +
                                    lint_text::Count(c.questions.size(), "quiz question") +
                                    " but no quiz timer: none is ever asked");
  }
  const char* const kTexts[] = {"question", "correct answer", "second answer", "third answer"};
  for (size_t i = 0; i < c.questions.size(); ++i) {
    const course_model::QuizQuestion& q = c.questions[i];
    const course_model::Text* texts[] = {&q.question, &q.correct, &q.second, &q.third};
    for (int t = 0; t < 4; ++t) {
      if (texts[t]->IsNone() || texts[t]->Bytes().empty()) {
        report.Warning(QuestionOf(i), std::string("its ") + kTexts[t] +
                                          " is missing: the quiz shows an empty line there");
      }
    }
  }
}

}  // namespace

void CheckCourseShape(LintReport& report) {
  CheckCounts(report);
  CheckTitles(report);
  CheckEntryOrder(report);
  CheckQuiz(report);
}

std::vector<Diagnostic> CheckCourse(const CourseDocument& document,
                                    const std::optional<std::string>& sounds_folder) {
  std::vector<Diagnostic> out;
  std::optional<std::string> sounds = sounds_folder;
  std::error_code error;
  if (sounds && !std::filesystem::is_directory(*sounds, error)) {
    out.push_back({Severity::kError, *sounds, 0, 0,
                   "the sounds folder does not exist; voice prompts are not checked"});
    sounds.reset();
  }
  LintReport report(document);
  CheckCourseShape(report);
  CheckBoxes(report);
  CheckRoutes(report);
  CheckStartPositions(report);
  CheckBonusObjects(report);
  CheckNamesAndTexts(report, sounds);
  std::vector<Diagnostic> findings = report.Findings();
  out.insert(out.end(), findings.begin(), findings.end());
  return out;
}

std::string CountFindings(const std::vector<Diagnostic>& diagnostics) {
  return CountBySeverity(diagnostics);
}

std::vector<Diagnostic> CompileFindings(const CourseDocument& document, bool strict) {
  std::vector<Diagnostic> errors;
  for (Diagnostic& d : CheckCourse(document, std::nullopt)) {
    if (d.severity != Severity::kError) continue;
    if (!strict) d.severity = Severity::kWarning;
    errors.push_back(d);
  }
  return errors;
}

int CheckExitStatus(const std::vector<Diagnostic>& diagnostics) {
  if (HasErrors(diagnostics)) return 1;
  return diagnostics.empty() ? 0 : 2;
}
