#include <iostream>

#include "course_model/course_reader.h"
#include "tools/aerilon-course/commands.h"
#include "tools/aerilon-course/source/source_writer.h"
#include "tools/common/input_file.h"

void AddDecompileCommand(CLI::App& app, int* exit_status) {
  auto* command = app.add_subcommand(
      "decompile", "Print the course source of a course file (Rally.DAT) on standard output");
  static std::string path;
  command->add_option("COURSE", path, "the course file")->required();
  command->callback([exit_status] {
    std::vector<uint8_t> bytes;
    std::string unread;
    if (!ReadInputFile(path, &bytes, &unread)) {
      std::cerr << path << ": error: " << unread << "\n";
      *exit_status = 1;
      return;
    }
    course_model::Course course;
    const char* problem = nullptr;
    if (!ReadCourseFileBytes(bytes, &course, &problem)) {
      std::cerr << path << ": error: the module refuses this course file: " << problem << "\n";
      *exit_status = 1;
      return;
    }
    std::cout << WriteCourseSource(course, path);
  });
}
