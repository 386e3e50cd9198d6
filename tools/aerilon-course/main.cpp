// aerilon-course: the course designer's toolbox. Compiles a course source
// into the module's course file and back, checks a course for mistakes,
// draws its map and tells a pilot's score file in words.
#include <CLI/CLI.hpp>

#include "tools/aerilon-course/commands.h"

// The map's text keeps fontconfig's caches for the life of the process;
// under LeakSanitizer (the native-asan build) they are not this tool's
// leaks. Other builds never call this.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

int main(int argc, char** argv) {
  CLI::App app{
      "The Aerilon course designer's toolbox: compile a course source into Rally.DAT, "
      "decompile a course file, check a course, fly it with the autopilot, draw its map, read a "
      "score file."};
  app.require_subcommand(1);
  int exit_status = 0;
  AddCompileCommand(app, &exit_status);
  AddDecompileCommand(app, &exit_status);
  AddCheckCommand(app, &exit_status);
  AddMapCommand(app, &exit_status);
  AddScoresCommand(app, &exit_status);
  AddFlyCommand(app, &exit_status);
  CLI11_PARSE(app, argc, argv);
  return exit_status;
}
