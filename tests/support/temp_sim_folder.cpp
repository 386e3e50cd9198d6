#include "tests/support/temp_sim_folder.h"

#include <stdlib.h>

#include <cstdio>
#include <fstream>

TempSimFolder::TempSimFolder() {
  char name[] = "/tmp/aerilon-test-XXXXXX";
  root = mkdtemp(name);
  std::filesystem::create_directories(root / "ADV" / "RALLY");
  std::snprintf(files.root, sizeof files.root, "%s", root.c_str());
}

TempSimFolder::~TempSimFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(root, ignored);
}

std::filesystem::path TempSimFolder::File(const char* name) const {
  return root / "ADV" / "RALLY" / name;
}

void TempSimFolder::WriteBytes(const char* name, const std::vector<uint8_t>& bytes) const {
  std::ofstream out(File(name), std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}
