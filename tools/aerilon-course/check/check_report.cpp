#include "tools/aerilon-course/check/check_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <tuple>

#include "tools/aerilon-course/source/designer_units.h"

LintObject TheCourse() {
  return LintObject{};
}
LintObject LegOf(size_t leg) {
  return LintObject{LintObject::kLeg, leg, LintObject::kWhole, 0};
}
LintObject StartBoxOf(size_t leg) {
  return LintObject{LintObject::kLeg, leg, LintObject::kStartBox, 0};
}
LintObject RecordOf(size_t leg, size_t record) {
  return LintObject{LintObject::kLeg, leg, LintObject::kRecord, record};
}
LintObject FinishOf(size_t leg) {
  return LintObject{LintObject::kLeg, leg, LintObject::kFinish, 0};
}
LintObject BonusObjectOf(size_t index) {
  return LintObject{LintObject::kBonusObject, index, LintObject::kWhole, 0};
}
LintObject QuestionOf(size_t index) {
  return LintObject{LintObject::kQuestion, index, LintObject::kWhole, 0};
}

namespace {

auto OrderKey(const LintObject& o) {
  return std::make_tuple(o.group, o.index, o.part, o.record);
}

// A spot the document may not have (a model built by hand): no line then.
template <typename T>
SourceSpot SpotAt(const std::vector<T>& spots, size_t index) {
  return index < spots.size() ? SourceSpot(spots[index]) : SourceSpot{};
}

}  // namespace

void LintReport::Error(const LintObject& object, const std::string& message) {
  Add(Severity::kError, object, message);
}

void LintReport::Warning(const LintObject& object, const std::string& message) {
  Add(Severity::kWarning, object, message);
}

void LintReport::Add(Severity severity, const LintObject& object, const std::string& message) {
  std::string name = Name(object);
  SourceSpot spot = Spot(object);
  findings_.push_back(Finding{object, Diagnostic{severity, document_.file, spot.line, spot.column,
                                                 name.empty() ? message : name + ": " + message}});
}

std::string LintReport::Name(const LintObject& o) const {
  std::string number = std::to_string(o.index + 1);
  switch (o.group) {
    case LintObject::kCourse: return "";
    case LintObject::kBonusObject: return "bonus object " + number;
    case LintObject::kQuestion: return "quiz question " + number;
    case LintObject::kLeg: break;
  }
  switch (o.part) {
    case LintObject::kWhole: return "leg " + number;
    case LintObject::kStartBox: return "leg " + number + ", start box";
    case LintObject::kFinish: return "leg " + number + ", finish";
    case LintObject::kRecord: break;
  }
  std::string kind =
      o.index < course().legs.size() && o.record < course().legs[o.index].records.size()
          ? LegRecordKind(course().legs[o.index].records[o.record])
          : "record";
  return "leg " + number + ", record " + std::to_string(o.record + 1) + " (" + kind + ")";
}

SourceSpot LintReport::Spot(const LintObject& o) const {
  switch (o.group) {
    case LintObject::kCourse: return document_.header;
    case LintObject::kBonusObject: return SpotAt(document_.bonus_objects, o.index);
    case LintObject::kQuestion: return SpotAt(document_.questions, o.index);
    case LintObject::kLeg: break;
  }
  if (o.index >= document_.legs.size()) return SourceSpot{};
  const LegSpots& leg = document_.legs[o.index];
  switch (o.part) {
    case LintObject::kRecord: return SpotAt(leg.records, o.record);
    case LintObject::kFinish: return leg.end;
    default: return leg.start;
  }
}

std::vector<Diagnostic> LintReport::Findings() const {
  std::vector<Finding> sorted = findings_;
  std::stable_sort(sorted.begin(), sorted.end(), [](const Finding& a, const Finding& b) {
    return OrderKey(a.object) < OrderKey(b.object);
  });
  std::vector<Diagnostic> out;
  for (const Finding& f : sorted) out.push_back(f.diagnostic);
  return out;
}

namespace lint_text {

std::string Number(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  std::string out = text;
  if (out.find('.') != std::string::npos) {
    out.erase(out.find_last_not_of('0') + 1);
    if (out.back() == '.') out.pop_back();
  }
  return out == "-0" ? "0" : out;
}

std::string Count(size_t count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

std::string Knots(int32_t speed) {
  return Number(speed / static_cast<double>(designer_units::kSpeedUnitsPerKnot), 2) + " kn";
}

std::string Degrees(int64_t heading) {
  return Number(heading / designer_units::kHeadingUnitsPerDegree, 2) + " degrees";
}

std::string Distance(double metres) {
  if (std::fabs(metres) < 1000) return Number(std::round(metres), 0) + " m";
  return Number(metres / 1000, 1) + " km";
}

std::string Duration(double seconds) {
  long whole = static_cast<long>(std::floor(seconds));
  if (whole < 120) return std::to_string(whole) + " s";
  return std::to_string(whole / 60) + " min " + std::to_string(whole % 60) + " s";
}

std::string Position(int32_t lat, int32_t lon) {
  return designer_units::LatitudeText(designer_units::LatitudeDegrees(lat), 3) + " " +
         designer_units::LongitudeText(designer_units::LongitudeDegrees(lon), 3);
}

std::string NumberList(const std::vector<int>& numbers) {
  std::vector<std::string> runs;
  for (size_t i = 0; i < numbers.size();) {
    size_t j = i;
    while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1) ++j;
    if (j >= i + 2) {  // three or more in a row
      runs.push_back(std::to_string(numbers[i]) + " to " + std::to_string(numbers[j]));
      i = j + 1;
    } else {
      runs.push_back(std::to_string(numbers[i++]));
    }
  }
  std::string out;
  for (size_t i = 0; i < runs.size(); ++i) {
    if (i > 0) out += i + 1 == runs.size() ? " and " : ", ";
    out += runs[i];
  }
  return out;
}

}  // namespace lint_text
