#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/aerilon-course/course_document.h"
#include "tools/aerilon-course/diagnostics.h"

// The object of the course a finding is about: the course as a whole, a
// leg (as a whole, its start box, one of its records or its finish), a
// bonus object or a quiz question. Indices count from 0.
struct LintObject {
  enum Group { kCourse, kLeg, kBonusObject, kQuestion } group = kCourse;
  size_t index = 0;
  enum Part { kWhole, kStartBox, kRecord, kFinish } part = kWhole;
  size_t record = 0;
};

LintObject TheCourse();
LintObject LegOf(size_t leg);
LintObject StartBoxOf(size_t leg);
LintObject RecordOf(size_t leg, size_t record);
LintObject FinishOf(size_t leg);
LintObject BonusObjectOf(size_t index);
LintObject QuestionOf(size_t index);

// Collects the findings of the rules, each named after its object
// ("leg 2, record 3 (gate): ...") and placed at the object's line when the
// course came from a source, and hands them back in the course's order.
class LintReport {
 public:
  explicit LintReport(const CourseDocument& document) : document_(document) {}

  const CourseDocument& document() const { return document_; }
  const course_model::Course& course() const { return document_.course; }

  void Error(const LintObject& object, const std::string& message);
  void Warning(const LintObject& object, const std::string& message);
  // "leg 2, record 3 (gate)"; empty for the course as a whole.
  std::string Name(const LintObject& object) const;

  // The findings, objects in course order, each object's in the order found.
  std::vector<Diagnostic> Findings() const;

 private:
  struct Finding {
    LintObject object;
    Diagnostic diagnostic;
  };
  void Add(Severity severity, const LintObject& object, const std::string& message);
  SourceSpot Spot(const LintObject& object) const;

  const CourseDocument& document_;
  std::vector<Finding> findings_;
};

// The designer's units in messages.
namespace lint_text {
std::string Number(double value, int decimals);     // trailing zeros dropped
std::string Count(size_t count, const char* noun);  // "1 leg", "21 legs"
std::string Knots(int32_t speed);                   // "220 kn", "0.01 kn"
std::string Degrees(int64_t heading);               // "359.5 degrees"
std::string Distance(double metres);                // "350 m", "4.2 km"
std::string Duration(double seconds);               // "45 s", "11 min 29 s"
std::string Position(int32_t lat, int32_t lon);     // "N26 22.564 E170 32.410"
// "1, 3 and 5 to 8"
std::string NumberList(const std::vector<int>& numbers);
}  // namespace lint_text
