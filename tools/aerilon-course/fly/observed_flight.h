#pragma once

#include "tools/aerilon-course/course_document.h"
#include "tools/aerilon-course/map/flight_outcome.h"
#include "tools/aerilon-sim/flight_script.h"

// Flies a flight script over a course on the stand-in (with the module's
// generator seeded with `seed` and the autopilot's calendar time, as `fly`
// flies) and keeps what the map needs:
// where the aircraft was after every tick and which leg was running, and
// the target trace's verdicts.
FlightOutcome ObserveFlight(const CourseDocument& document, const FlightScript& flight,
                            uint32_t seed = 1);

// The named places of a course source, for the "at" of a flight's fly lines.
FlightPlaces PlacesOf(const CourseDocument& document);
