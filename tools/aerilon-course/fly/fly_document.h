#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/aerilon-course/course_document.h"
#include "tools/aerilon-course/fly/autopilot.h"

// The autopilot over a course as the toolbox reads it: the course is
// written into a temporary simulator folder, flown, and the folder removed.
// options.root is ignored.
FlyResult FlyCourseDocument(const CourseDocument& document, FlyOptions options,
                            const TranscriptSink& sink);

// --legs: "all", or leg numbers from 1 with commas ("1,3"), each a leg of
// a course of `leg_count`; the legs from 0, or nullopt with `error`.
std::optional<std::vector<int>> ParseLegList(const std::string& text, int leg_count,
                                             std::string* error);

// A leg of the course (from 0, in the source's order) as the module's
// entry (from 0: "leg N" to the pilot is entry N - 1), and back; the same
// when the entry table lists the legs first, as a source always does.
int EntryOfLeg(const course_model::Course& course, int leg);
std::optional<int> LegOfEntry(const course_model::Course& course, int entry);

// --aircraft: the name of a built-in aircraft ("light_single") or an
// aircraft file; nullopt with the problems.
std::optional<AircraftLimits> ChooseAircraft(const std::string& name_or_file,
                                             std::vector<Diagnostic>* problems);
