#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "course_model/course_writer.h"
#include "examples/compiled_sample_course.h"
#include "rally/course/score_table.h"
#include "rally/course/scramble.h"
#include "rally/host/platform.h"
#include "rally/host/stdio_platform.h"
#include "rally/module/entry_points.h"
#include "sim/sim_host.h"
#include "sim/sim_module_binding.h"
#include "tests/support/counting_heap.h"
#include "tests/support/temp_sim_folder.h"

// A score file as the module writes it: the scrambled block, then the names.
inline std::vector<uint8_t> ScoreFileBytes(const std::vector<std::string>& names) {
  std::vector<uint8_t> bytes(score::kBlockBytes, 0);
  bytes[0] = 100;  // percentage
  ScrambleWords(bytes.data(), score::kBlockBytes);
  for (const std::string& name : names) {
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.push_back(0);
  }
  return bytes;
}

// The module bound to the stand-in simulator over a temporary simulator
// folder, with its heap counted; the course is loaded on request.
class ModuleOnSim : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetLoadedModule();
    std::snprintf(files_.root, sizeof files_.root, "%s", folder_.root.c_str());
    BindModuleToSim(m(), host_, files_);
    CountHeap(m().platform, heap_);
  }
  // A case that loads a course and never shuts the module down still owes
  // its blocks back to the heap.
  void TearDown() override {
    ReleaseNamePool(m().scores, m().platform);
    if (m().course.block != nullptr)
      m().platform.free_block(m().platform.context, m().course.block);
    m().course.block = nullptr;
    ResetLoadedModule();
  }

  RallyModule& m() { return LoadedModule(); }
  void WriteCourse() { ASSERT_TRUE(WriteCourseFile(folder_.File("Rally.DAT"), SampleCourse())); }
  void WriteScores(const std::vector<std::string>& names) {
    folder_.WriteBytes("Rally.SCO", ScoreFileBytes(names));
  }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) SimRunTick(host_);
  }
  std::vector<std::string> CallNames() const {
    std::vector<std::string> names;
    for (const SimCall& c : host_.calls) names.push_back(c.op);
    return names;
  }

  TempSimFolder folder_;
  StdioPlatform files_{};
  SimHost host_;
  CountingHeap heap_;
};
