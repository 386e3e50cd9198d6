// sceneward show LIBRARY: the section offsets and the area list as tables.
#include <algorithm>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "sceneward/files/file_system_posix.h"
#include "sceneward/library/area_list.h"
#include "sceneward/library/library_file.h"
#include "tools/sceneward/commands.h"
#include "tools/sceneward/report.h"
#include "tools/sceneward/type_names.h"

namespace {

void PrintSections(const LibraryImage& image) {
  std::cout << "section  offset  length\n";
  for (int section = 1; section <= kLibrarySections; ++section) {
    uint32_t offset = static_cast<uint32_t>(SectionOffset(image, section));
    uint32_t length = SectionEnd(image, offset) - offset;
    std::string name = std::to_string(section) + (section == kAreaListSection ? " list" : "");
    std::cout << PadRight(name, 9) << PadRight(std::to_string(offset), 8) << length << "\n";
  }
}

struct Row {
  std::string index, type, active, pattern, title;
};

std::vector<Row> AreaRows(const LibraryImage& image) {
  std::vector<Row> rows;
  uint32_t offset = static_cast<uint32_t>(SectionOffset(image, kAreaListSection));
  AreaEntry entry;
  while (ReadAreaEntry(image.bytes, image.size, offset, &entry) == AreaStep::kEntry) {
    std::string active = entry.active_flag == 0   ? "no"
                         : entry.active_flag == 1 ? "yes"
                                                  : std::to_string(entry.active_flag);
    rows.push_back(Row{std::to_string(rows.size()), DescribeTypeCode(entry.type), active,
                       Shown1252(entry.folder_pattern), Shown1252(entry.title)});
    offset = entry.end;
  }
  return rows;
}

void PrintAreaList(const LibraryImage& image) {
  std::vector<Row> rows = AreaRows(image);
  Row heading{"index", "type", "active", "folder pattern", "title"};
  size_t type_width = DisplayWidth(heading.type);
  size_t pattern_width = DisplayWidth(heading.pattern);
  for (const Row& row : rows) {
    type_width = std::max(type_width, DisplayWidth(row.type));
    pattern_width = std::max(pattern_width, DisplayWidth(row.pattern));
  }
  rows.insert(rows.begin(), heading);
  for (const Row& row : rows) {
    std::cout << PadRight(row.index, 7) << PadRight(row.type, type_width + 2)
              << PadRight(row.active, 8) << PadRight(row.pattern, pattern_width + 2) << row.title
              << "\n";
  }
  if (rows.size() == 1) std::cout << "(the area list is empty)\n";
}

int RunShow(const std::string& path) {
  PosixFileSystem fs;
  LibraryImage image;
  Diagnostic problem{};
  int32_t status = LoadLibraryFile(fs, path.c_str(), &image, &problem, OpenMode::kReadOnly);
  if (status != 0) {
    ReportFailure(problem, status);
    return status;
  }
  std::cout << path << ": " << image.size << " bytes\n\n";
  PrintSections(image);
  std::cout << "\n";
  PrintAreaList(image);
  FreeLibraryImage(fs, &image);
  return 0;
}

}  // namespace

void AddShowCommand(CLI::App& app, int* exit_status) {
  auto path = std::make_shared<std::string>();
  CLI::App* command =
      app.add_subcommand("show", "Shows a scenery library's sections and its area list.");
  command->add_option("LIBRARY", *path, "the scenery library, WORLD.VIS")->required();
  command->callback([path, exit_status] { *exit_status = RunShow(*path); });
}
