#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "rally/host/stdio_platform.h"

// A simulator folder in the system's temporary folder, with ADV/RALLY
// inside, removed afterwards with everything in it.
struct TempSimFolder {
  std::filesystem::path root;
  StdioPlatform files{};  // the C runtime's files, relative to root

  TempSimFolder();
  ~TempSimFolder();
  TempSimFolder(const TempSimFolder&) = delete;
  TempSimFolder& operator=(const TempSimFolder&) = delete;

  // A file of the module's folder, ADV/RALLY.
  std::filesystem::path File(const char* name) const;
  std::string Path(const char* name) const { return File(name).string(); }
  void WriteBytes(const char* name, const std::vector<uint8_t>& bytes) const;
  // A path below the simulator folder itself ("WORLD.VIS", "Scenery/x.bgl").
  std::string operator/(const std::string& name) const { return (root / name).string(); }
};
