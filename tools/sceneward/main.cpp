// sceneward: the scenery library utility of the add-on's setup as a command,
// for pilots who run the simulator under Wine and for course designers. Its
// exit status is the status code the setup program would get.
#include <CLI/CLI.hpp>

#include "tools/sceneward/commands.h"

int main(int argc, char** argv) {
  CLI::App app{
      "Edits the flight simulator's scenery library (WORLD.VIS) as the Aerilon setup does, "
      "clears other sceneries' objects from the script's areas, and shows libraries, edit scripts "
      "and scenery indexes. The exit status is the operation's status code: 0 no "
      "failure, 1 library cannot be opened, 2 not a scenery library, 3 not written, 4 script "
      "cannot be opened, 5 faulty script, 6 out of memory."};
  app.require_subcommand(1);
  int exit_status = 0;
  AddVisEditCommand(app, &exit_status);
  AddShowCommand(app, &exit_status);
  AddShowScriptCommand(app, &exit_status);
  AddAreaKillCommand(app, &exit_status);
  AddShowIndexCommand(app, &exit_status);
  CLI11_PARSE(app, argc, argv);
  return exit_status;
}
