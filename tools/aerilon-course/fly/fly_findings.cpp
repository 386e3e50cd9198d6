#include "tools/aerilon-course/fly/fly_findings.h"

#include <cstdio>

#include "tools/aerilon-course/fly/fly_document.h"
#include "tools/aerilon-course/fly/fly_report.h"

namespace {

bool IsTargetRecord(const course_model::LegRecord& r) {
  return std::holds_alternative<course_model::Gate>(r) ||
         std::holds_alternative<course_model::Waypoint>(r) ||
         std::holds_alternative<course_model::Landing>(r);
}

// Where target "kind L.K" of the report was written: the K-th target
// record of leg L; the leg's start box for "start box L".
SourceSpot TargetSpot(const CourseDocument& d, const FlownLeg& leg, const std::string& name) {
  const LegSpots& spots = d.legs[leg.leg];
  size_t dot = name.rfind('.');
  if (dot == std::string::npos) return spots.start;
  int wanted = std::atoi(name.c_str() + dot + 1), seen = 0;
  const std::vector<course_model::LegRecord>& records = d.course.legs[leg.leg].records;
  for (size_t i = 0; i < records.size() && i < spots.records.size(); ++i) {
    if (IsTargetRecord(records[i]) && ++seen == wanted) return spots.records[i];
  }
  return spots.start;
}

// The target the leg stopped at: the last one not met.
SourceSpot StopSpot(const CourseDocument& d, const FlownLeg& leg) {
  for (auto t = leg.targets.rbegin(); t != leg.targets.rend(); ++t) {
    if (!t->met) return TargetSpot(d, leg, t->name);
  }
  return leg.started ? d.legs[leg.leg].end : d.legs[leg.leg].start;
}

Diagnostic At(const CourseDocument& d, SourceSpot spot, Severity severity, std::string message) {
  return Diagnostic{severity, d.file, spot.line, spot.column, std::move(message)};
}

}  // namespace

std::vector<Diagnostic> FlightFindings(const CourseDocument& d, const FlyResult& result,
                                       const AircraftLimits& aircraft) {
  std::vector<Diagnostic> findings;
  for (FlownLeg leg : result.legs) {
    // The report counts the module's entries; the source's spots its legs.
    std::optional<int> source_leg = LegOfEntry(d.course, leg.leg);
    if (!source_leg || static_cast<size_t>(*source_leg) >= d.legs.size()) {
      findings.push_back(Diagnostic{Severity::kError, d.file, 0, 0,
                                    "leg " + std::to_string(leg.leg + 1) +
                                        ": the autopilot flew an entry the course does not "
                                        "hold as a leg"});
      continue;
    }
    int entry = leg.leg;
    leg.leg = *source_leg;
    std::string who =
        "leg " + std::to_string(entry + 1) + ": the autopilot (" + aircraft.name + ") ";
    SourceSpot finish = d.legs[leg.leg].end;
    if (!leg.finished) {
      findings.push_back(
          At(d, StopSpot(d, leg), Severity::kError, who + "cannot finish it: " + leg.why_not));
    } else if (leg.seconds > leg.allowance) {
      std::string slowest = SlowestTarget(leg);
      findings.push_back(At(
          d, finish, Severity::kError,
          who + "finishes it in " + AllowanceText(leg) + (slowest.empty() ? "" : "; " + slowest)));
    } else if (SpareShare(leg) < kTightAllowanceShare) {
      findings.push_back(
          At(d, finish, Severity::kWarning,
             who + "finishes it in " + AllowanceText(leg) + ", less than a tenth of it"));
    }
  }
  return findings;
}
