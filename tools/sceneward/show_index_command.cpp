// sceneward show-index FILE: a scenery file's object index as a tree.
#include <iostream>
#include <memory>
#include <string>

#include "sceneward/base/byte_buffer.h"
#include "sceneward/files/file_system_posix.h"
#include "sceneward/scenery/index_tree.h"
#include "tools/sceneward/commands.h"

namespace {

void PrintLine(void*, const char* line) {
  std::cout << line << "\n";
}

int RunShowIndex(const std::string& path) {
  PosixFileSystem fs;
  FileBlock block;
  switch (fs.ReadWholeFile(path.c_str(), OpenMode::kReadOnly, 0, &block)) {
    case ReadOutcome::kRead: break;
    case ReadOutcome::kCannotOpen:
      std::cerr << "sceneward: " << path << ": cannot be read\n";
      return 1;
    case ReadOutcome::kReadFailed:
      std::cerr << "sceneward: " << path << ": could not be read whole\n";
      return 1;
    case ReadOutcome::kNoMemory:
      std::cerr << "sceneward: " << path << ": not enough memory to read it\n";
      return 1;
  }
  SceneryError error = kNoSceneryError;
  const bool whole = FormatIndexTree(ByteSpan{block.bytes, block.size}, PrintLine, nullptr, error);
  fs.FreeBlock(block.bytes);
  if (whole) return 0;
  std::cout.flush();
  std::cerr << "sceneward: " << path << ": " << DescribeSceneryFault(error.fault) << " (offset "
            << error.offset << ")\n";
  return 1;
}

}  // namespace

void AddShowIndexCommand(CLI::App& app, int* exit_status) {
  auto path = std::make_shared<std::string>();
  CLI::App* command = app.add_subcommand(
      "show-index",
      "Shows a scenery file's object index as a tree: groups of levels 1 to 4 and their objects "
      "with class, block and position. A fault ends the tree with its offset.");
  command->add_option("FILE", *path, "the scenery file (*.BGL)")->required();
  command->callback([path, exit_status] { *exit_status = RunShowIndex(*path); });
}
