#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "examples/compiled_sample_course.h"
#include "rally/course/score_table.h"
#include "rally/host/stdio_platform.h"
#include "rally/module/entry_points.h"
#include "rally/module/lifecycle.h"
#include "rally/state/module.h"
#include "sim/sim_host.h"
#include "sim/sim_module_binding.h"
#include "tests/support/memory_files.h"

// Every way a read can go wrong, for the module's two files: a refused
// open, a length that cannot be told, reads that hand over a few bytes at
// a time, a disk that fails part way and a file cut short while it is read;
// and no memory for what is read ("memory": the first block is refused).
namespace {

constexpr char kCoursePath[] = "ADV\\RALLY\\Rally.DAT";
constexpr char kScorePath[] = "ADV\\RALLY\\Rally.SCO";

ReadFaults Fault(const char* path, const std::string& kind, int64_t at = 0) {
  ReadFaults f;
  f.path = path;
  if (kind == "open") f.fail_open = true;
  if (kind == "length") f.unknown_length = true;
  if (kind == "trickle") f.read_limit = static_cast<uint32_t>(at);
  if (kind == "fail") f.fail_after = at;
  if (kind == "shrink") f.shrink_to = at;
  return f;
}

struct CourseFaultCase {
  std::string kind;
  int64_t at;
  bool loads;
};

TEST(ModuleReadFaults, TheCourseLoadsOnlyWhenReadWhole) {
  const std::vector<uint8_t> course = SampleCourseFile();
  const int64_t half = static_cast<int64_t>(course.size() / 2);
  const CourseFaultCase cases[] = {
      {"none", 0, true},    {"trickle", 7, true}, {"trickle", 1, true},  {"open", 0, false},
      {"length", 0, false}, {"fail", 0, false},   {"fail", half, false}, {"shrink", half, false},
      {"shrink", 0, false}, {"memory", 0, false},
  };
  for (const CourseFaultCase& c : cases) {
    SCOPED_TRACE(c.kind + " at " + std::to_string(c.at));
    MemoryFiles files;
    files.files[kCoursePath] = course;
    files.faults = Fault(kCoursePath, c.kind, c.at);
    files.fail_allocation = c.kind == "memory" ? 1 : 0;
    ResetLoadedModule();
    RallyModule& m = LoadedModule();
    SimHost host;
    StdioPlatform unused{};
    BindModuleToSim(m, host, unused);
    m.platform = MakeMemoryFilesPlatform(&files);
    EXPECT_EQ(ModuleInit(m), c.loads ? 1 : 0);
    EXPECT_EQ(host.callbacks.empty(), !c.loads);  // an inert module registers nothing
    ModuleDeinit(m);
    EXPECT_EQ(files.live_blocks, 0);
    EXPECT_TRUE(files.open.empty());
    ResetLoadedModule();
  }
}

struct ScoreFaultCase {
  std::string kind;
  int64_t at;
  bool block_read;                 // else the defaults
  std::vector<std::string> names;  // slots 0 and 1
};

// A score file with 110 % and the names "Aquila" and "Orso", as the
// module writes it.
std::vector<uint8_t> ScoreFile() {
  MemoryFiles files;
  PlatformOps platform = MakeMemoryFilesPlatform(&files);
  ScoreTable table{};
  table.words[score::kPercentageWord] = 110;
  table.name_slots[0] = "Aquila";
  table.name_slots[1] = "Orso";
  EXPECT_TRUE(WriteScoreFile(table, platform, kScorePath));
  return files.files[kScorePath];
}

TEST(ModuleReadFaults, TheScoresKeepOnlyWhatWasReadWhole) {
  const int64_t block = score::kBlockBytes;
  const ScoreFaultCase cases[] = {
      {"none", 0, true, {"Aquila", "Orso"}},
      {"trickle", 5, true, {"Aquila", "Orso"}},
      {"open", 0, false, {"", ""}},
      {"fail", 0, false, {"", ""}},
      {"fail", block - 4, false, {"", ""}},
      {"shrink", block - 1, true, {"", ""}},        // the length is told after the block
      {"length", 0, true, {"", ""}},                // no pool without a length
      {"fail", block + 3, true, {"", ""}},          // "Aqu" is not a name
      {"shrink", block + 9, true, {"Aquila", ""}},  // "Or" is dropped
      {"fail", block + 12, true, {"Aquila", "Orso"}},
      {"memory", 0, true, {"", ""}},
  };
  const std::vector<uint8_t> file = ScoreFile();
  for (const ScoreFaultCase& c : cases) {
    SCOPED_TRACE(c.kind + " at " + std::to_string(c.at));
    MemoryFiles files;
    files.files[kScorePath] = file;
    files.faults = Fault(kScorePath, c.kind, c.at);
    files.fail_allocation = c.kind == "memory" ? 1 : 0;
    PlatformOps platform = MakeMemoryFilesPlatform(&files);
    ScoreTable table{};
    ReadScoreFile(table, platform, kScorePath, 3);
    if (c.kind == "memory") {
      EXPECT_FALSE(WriteScoreFile(table, platform, kScorePath)) << "it would lose the names";
      EXPECT_EQ(files.files[kScorePath], file);
    }
    EXPECT_EQ(ScorePercentage(table), c.block_read ? 110 : 100);
    EXPECT_EQ(table.unasked_count, 3);
    for (int32_t slot = 0; slot < score::kNameSlots; ++slot) {
      const char* name = NameSlot(table, slot);
      std::string expected = slot < 2 ? c.names[static_cast<size_t>(slot)] : "";
      EXPECT_EQ(name == nullptr ? "" : name, expected) << "slot " << slot;
    }
    ReleaseNamePool(table, platform);
    EXPECT_EQ(files.live_blocks, 0);
    EXPECT_TRUE(files.open.empty());
  }
}

}  // namespace
