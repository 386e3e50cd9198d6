#pragma once

#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "tools/aerilon-course/fly/autopilot.h"

// The autopilot's report: per leg, finished or not and why not, the
// seconds flown against the allowance, the score's components; per target,
// the margins it was met with and the passes that failed before.
void WriteFlyReport(std::ostream& out, const FlyResult& result, const AircraftLimits& aircraft);
nlohmann::ordered_json FlyReportJson(const FlyResult& result, const AircraftLimits& aircraft);

// "412 s of 720 s allowed, 308 s (43 %) to spare"; "790 s, 70 s over its 720 s".
std::string AllowanceText(const FlownLeg& leg);
// The share of the allowance left, from 0; negative when over it.
double SpareShare(const FlownLeg& leg);
