#pragma once

struct RallyModule;

// Loads "ADV\RALLY\Rally.DAT" into the CourseImage, and on success derives
// the score file's path and reads the scores. False (and no course) when
// the file is missing, memory runs out, or the image is not a sound course.
bool LoadCourse(RallyModule& m);
