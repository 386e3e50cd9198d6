#include <cstdio>
#include <iostream>

#include "tools/aerilon-course/commands.h"
#include "tools/aerilon-course/fly/observed_flight.h"
#include "tools/aerilon-course/load_course_document.h"
#include "tools/aerilon-course/map/course_map.h"
#include "tools/aerilon-scenery/island/island_map.h"
#include "tools/aerilon-scenery/island/island_reader.h"
#include "tools/common/output_file.h"

namespace {

// "1600x1200", each side within what a map takes; false for anything else.
bool ParseSize(const std::string& text, MapSize* size) {
  char x = 0, rest = 0;
  auto fits = [](int side) { return side >= kSmallestMapSide && side <= kLargestMapSide; };
  return std::sscanf(text.c_str(), "%d%c%d%c", &size->width, &x, &size->height, &rest) == 3 &&
         (x == 'x' || x == 'X') && fits(size->width) && fits(size->height);
}

}  // namespace

void AddMapCommand(CLI::App& app, int* exit_status) {
  auto* command = app.add_subcommand("map", "Draw a course's map as a PNG picture");
  static std::string course, flight, scenery, output = "map.png", size_text = "1600x1200";
  command->add_option("SOURCE", course, "the course source or course file (Rally.DAT)")->required();
  command->add_option("--flight", flight,
                      "a flight script (aerilon-sim's, or one that fly wrote) to fly through the "
                      "module and draw: the track in each leg's colour, each target met or not");
  command->add_option("--scenery", scenery,
                      "an island source (examples/island.toml) whose land, runways and landmarks "
                      "to draw under the course");
  command->add_option("-o,--output", output,
                      "the picture to write (default map.png), beside the old one and then in its "
                      "place; missing folders are made, a symbolic link is written through, and "
                      "an input, a folder, a pipe, a device or a read-only file is refused");
  command->add_option("--size", size_text, "the picture's size in pixels, WIDTHxHEIGHT")
      ->capture_default_str();
  command->callback([exit_status] {
    *exit_status = 1;
    MapSize size;
    if (!ParseSize(size_text, &size)) {
      std::cerr << "error: --size takes WIDTHxHEIGHT in pixels, each " << kSmallestMapSide << " to "
                << kLargestMapSide << ", such as 1600x1200, not \"" << size_text << "\"\n";
      return;
    }
    // Refused before anything is drawn; the picture is written through the
    // same checks.
    if (std::optional<std::string> problem = CheckOutputFile(output, {course, flight, scenery})) {
      std::cerr << output << ": error: " << *problem << "\n";
      return;
    }
    CourseDocument document;
    std::vector<Diagnostic> diagnostics;
    bool read = LoadCourseDocument(course, &document, &diagnostics);
    for (const Diagnostic& d : diagnostics) std::cerr << FormatDiagnostic(d) << "\n";
    if (!read) return;
    // A flight is flown through the module, so that the map shows what the
    // race engine made of it: each leg's part of the track, each target met
    // or not.
    FlightOutcome outcome;
    std::string error;
    FlightScript script;
    if (!flight.empty()) {
      if (!ReadFlightScriptFile(flight, PlacesOf(document), &script, &error)) {
        std::cerr << error << "\n";
        return;
      }
      outcome = ObserveFlight(document, script);
    }
    std::optional<MapGround> ground;
    if (!scenery.empty()) {
      Island island;
      std::vector<Diagnostic> problems;
      bool read_island = LoadIsland(scenery, &island, &problems);
      for (const Diagnostic& d : problems) std::cerr << FormatDiagnostic(d) << "\n";
      if (!read_island) return;
      ground = GroundOf(island);
    }
    if (!DrawCourseMap(document, outcome.track, output, &error, size, outcome.verdicts,
                       ground ? &*ground : nullptr)) {
      std::cerr << error << "\n";
      return;
    }
    *exit_status = 0;
  });
}
