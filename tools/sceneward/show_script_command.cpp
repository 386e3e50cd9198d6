// sceneward show-script SCRIPT [--strict]: what an edit script sets, as the exports read it.
#include <iomanip>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>

#include "sceneward/base/status.h"
#include "sceneward/files/file_system_posix.h"
#include "sceneward/script/coordinates.h"
#include "sceneward/script/edit_script.h"
#include "tools/sceneward/area_warnings.h"
#include "tools/sceneward/commands.h"
#include "tools/sceneward/report.h"
#include "tools/sceneward/type_names.h"

namespace {

std::string Quoted(const char* text) {
  return text == nullptr ? "(none)" : "\"" + Shown1252(text) + "\"";
}

std::string Choice(uint8_t value, const char* zero, const char* one, const char* two = nullptr) {
  const char* word = value == 0 ? zero : value == 1 ? one : value == 2 ? two : nullptr;
  return std::to_string(value) + (word != nullptr ? std::string(" ") + word : "");
}

// "12.500000 E (149130808)": degrees with the hemisphere, then the units.
std::string Edge(int32_t units, bool latitude) {
  double per_degree = 3600.0 * (latitude ? kLatitudeUnitsPerSecond : kLongitudeUnitsPerSecond);
  double degrees = units / per_degree;
  char hemisphere = latitude ? (degrees < 0 ? 'S' : 'N') : (degrees < 0 ? 'W' : 'E');
  std::ostringstream text;
  text << std::fixed << std::setprecision(6) << (degrees < 0 ? -degrees : degrees) << " "
       << hemisphere << " (" << units << ")";
  return text.str();
}

void PrintBox(const KillArea& box) {
  std::cout << "west " << Edge(box.west, false) << ", north " << Edge(box.north, true) << ", east "
            << Edge(box.east, false) << ", south " << Edge(box.south, true) << "\n";
}

void PrintParameters(const EditParameters& edit) {
  std::cout << "TITLE   " << Quoted(edit.title) << "\n"
            << "SOURCE  " << Quoted(edit.source) << "\n"
            << "DEST    " << Quoted(edit.dest) << "\n"
            << "TYPE    " << DescribeTypeCode(edit.type) << "\n"
            << "AFLAG   " << Choice(edit.active_flag, "INACTIVE", "ACTIVE") << "\n"
            << "BFLAG   " << Choice(edit.b_flag, "INACTIVE", "ACTIVE") << "\n"
            << "CLEAN   " << Choice(edit.clean, "YES", "NO") << "\n"
            << "UPDATE  " << Choice(edit.update, "MANUAL", "SEMI", "AUTO") << "\n"
            << "CACHE   " << edit.cache << "\n"
            << "AREA    " << edit.kill_area_count << "\n";
  for (int32_t i = 0; i < edit.kill_area_count; ++i) {
    std::cout << "  " << i + 1 << ": ";
    PrintBox(edit.kill_areas[i]);
  }
  if (edit.kill_area_count == 0) {
    std::cout << "bounds  none: no scenery file lies in an area\n";
  } else {
    std::cout << "bounds  ";
    PrintBox(edit.kill_bounds);
  }
}

int RunShowScript(const std::string& path, bool strict) {
  PosixFileSystem fs;
  EditParameters edit;
  ResetEditParameters(edit);
  Diagnostic problem{};
  int32_t status = 0;
  AreaWritings writings{};
  char* script = ParseEditScript(fs, path.c_str(), edit, &status, &problem, &writings);
  int problems = WarnAboutAreas(path.c_str(), edit, writings, strict ? "error" : "warning");
  if (script == nullptr) {
    ReportFailure(problem, status);
    return status;
  }
  PrintParameters(edit);
  fs.FreeBlock(script);
  if (strict && problems > 0) {
    SetDiagnostic(&problem, path.c_str(), 0, "refused: %d AREA problem%s (--strict)", problems,
                  problems == 1 ? "" : "s");
    ReportFailure(problem, kStatusScriptFaulty);
    return kStatusScriptFaulty;
  }
  return 0;
}

}  // namespace

void AddShowScriptCommand(CLI::App& app, int* exit_status) {
  auto path = std::make_shared<std::string>();
  auto strict = std::make_shared<bool>(false);
  CLI::App* command = app.add_subcommand(
      "show-script", "Shows what an edit script sets: title, type, flags, areas and their bounds.");
  command->add_option("SCRIPT", *path, "the edit script, Sceneward.DAT")->required();
  command->add_flag("--strict", *strict,
                    "refuse (status 5) a script with an AREA that wraps around or encloses "
                    "nothing, as the package build does");
  command->callback([path, strict, exit_status] { *exit_status = RunShowScript(*path, *strict); });
}
