#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "rally/host/platform.h"
#include "sim/sim_host.h"

struct CourseImage;

// Watches the module's file writes: every operation is passed on to the
// platform the module was bound with, and a score file that has been
// written completely and has replaced the old one is logged as one
// "score_file_written" call (text: its path; args: the bytes written).
struct SimScoreFileWatch {
  PlatformOps inner;
  SimHost* host;
  const CourseImage* course;  // the score file's path is the course's, once loaded
  std::map<FileHandle, std::string> open_paths;
  std::map<FileHandle, int64_t> bytes_written;
  std::map<std::string, int64_t> finished;  // completely written files, by path
};

// Puts the watch in front of `platform` (which it then forwards to).
void WatchScoreFileWrites(PlatformOps& platform, SimScoreFileWatch& watch, SimHost& host,
                          const CourseImage& course);
