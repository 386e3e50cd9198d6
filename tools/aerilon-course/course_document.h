#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "course_model/course.h"
#include "tools/aerilon-course/diagnostics.h"

// Where an object was written in a course source; line 0 for a course read
// from a course file, which has no lines.
struct SourceSpot {
  int line = 0;
  int column = 0;
};

struct LegSpots {
  SourceSpot start, end;            // the leg's start box and its finish
  std::vector<SourceSpot> records;  // one per record of Leg::records
};

// A named place of the source (an airfield, a lighthouse), in the file's
// units; its elevation is the ground's there when the designer gave it.
struct NamedPlace {
  std::string name;
  int32_t lat, lon;
  std::optional<int32_t> elevation;  // metres
  SourceSpot spot;
};

// A course as the tools read it, from a source or from a course file, with
// where each object stands so that findings can point at it.
struct CourseDocument {
  std::string file;  // the path it was read from, for messages
  bool from_source = false;
  course_model::Course course;
  SourceSpot header;
  std::vector<LegSpots> legs;             // one per course.legs
  std::vector<SourceSpot> bonus_objects;  // one per course.bonus_objects
  std::vector<SourceSpot> questions;      // one per course.questions
  std::vector<NamedPlace> places;         // a source's named places
};

// The designer's name of an object, for messages: "leg 2, record 3 (gate)",
// "leg 1, start box", "bonus object 1", "quiz question 4".
std::string LegRecordKind(const course_model::LegRecord& record);

// True when the bytes unscramble to the course file's "VESK RALLY".
bool IsCourseFile(std::vector<uint8_t> bytes);
