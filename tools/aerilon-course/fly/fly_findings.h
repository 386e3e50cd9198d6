#pragma once

#include <vector>

#include "tools/aerilon-course/course_document.h"
#include "tools/aerilon-course/fly/autopilot.h"

// What a flight by the autopilot says of a course, as the checker's
// findings: a leg it could not finish, or finished over its time
// allowance, is an error; one finished with less than a tenth of the
// allowance to spare is a warning. Each at the target that stopped it, or
// at the leg's finish.
std::vector<Diagnostic> FlightFindings(const CourseDocument& document, const FlyResult& result,
                                       const AircraftLimits& aircraft);

// Below this share of its allowance left, a leg is tight.
constexpr double kTightAllowanceShare = 0.10;
