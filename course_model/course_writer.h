#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "course_model/course.h"

// The writer that lays a course out in the course file's format and
// scrambles it. An empty text is written as offset 0 (none). Reserved
// fields and header bytes 11 to 15 are written as 0.
//
// The plain (unscrambled) image: header, entry table, leg streams, bonus
// objects, quiz table, then the texts, each distinct text stored once.
std::vector<uint8_t> LayOutCourse(const course_model::Course& course);
// The bytes of a course file: the laid-out image, scrambled.
std::vector<uint8_t> EncodeCourseFile(const course_model::Course& course);
// Writes the course file; false when the file cannot be written.
bool WriteCourseFile(const std::string& path, const course_model::Course& course);
