#pragma once

#include <optional>
#include <string>

#include "tools/aerilon-course/check/check_report.h"

// The checker's rules by theme; each reports into the report.

// The course as a whole: no legs, counts the score file cannot hold,
// titles, the header's leg count, the entry table's order, quiz questions
// and timers.
void CheckCourseShape(LintReport& report);

// Start boxes, gates, waypoints and landings: boxes that never hold or
// have no size, altitude bands, speed ranges, headings, waypoint radii,
// landing altitudes, start boxes that overlap; and every latitude of the
// course beyond a pole.
void CheckBoxes(LintReport& report);

// Each leg as it is flown: its targets, time allowance and factor, targets
// out of reach in the allowance, precision tracks, messages that show
// nothing, quiz timers after the last target.
void CheckRoutes(LintReport& report);

// Bonus objects that never exist, never arm or never award.
void CheckBonusObjects(LintReport& report);

// Collectibles' name slots and the hidden word, texts the message line
// cuts, and (with a sounds folder) voice prompts without a sound file.
void CheckNamesAndTexts(LintReport& report, const std::optional<std::string>& sounds_folder);

// The first start box far from every start position of the module's menu.
void CheckStartPositions(LintReport& report);
