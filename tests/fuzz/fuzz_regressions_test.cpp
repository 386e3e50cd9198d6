#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/fuzz_targets.h"

// Every fuzz target's seeds and every input that ever made one fail, run
// through the target in the ordinary build: a fixed fault stays fixed.
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> FilesIn(const fs::path& folder) {
  std::vector<fs::path> files;
  if (!fs::is_directory(folder)) return files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) files.push_back(entry.path());
  }
  return files;
}

std::vector<uint8_t> Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

class FuzzReplay : public ::testing::TestWithParam<FuzzTarget> {};

TEST_P(FuzzReplay, SeedsAndKeptInputsPass) {
  const FuzzTarget& target = GetParam();
  const fs::path root(AERILON_SOURCE_DIR);
  std::vector<fs::path> seeds = FilesIn(root / "tests/fuzz/corpus" / target.name);
  EXPECT_FALSE(seeds.empty()) << "no seed corpus for " << target.name;
  std::vector<fs::path> inputs = FilesIn(root / "tests/fuzz-regressions" / target.name);
  inputs.insert(inputs.end(), seeds.begin(), seeds.end());
  for (const fs::path& input : inputs) {
    SCOPED_TRACE(input.string());
    std::vector<uint8_t> bytes = Bytes(input);
    EXPECT_EQ(target.run(bytes.data(), bytes.size()), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, ::testing::ValuesIn(kFuzzTargets),
                         [](const ::testing::TestParamInfo<FuzzTarget>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
