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
#include "sim/platform_forwarding.h"
#include "sim/sim_host.h"
#include "sim/sim_module_binding.h"

// A platform that counts heap blocks and can refuse the n-th allocation.
struct CountingHeap {
  PlatformOps inner;
  int allocations = 0;
  int frees = 0;
  int fail_allocation = 0;  // 1-based index of the allocation to refuse; 0 = none
  std::vector<void*> live;
};

inline void* CountingAlloc(void* c, uint32_t size) {
  auto* h = static_cast<CountingHeap*>(c);
  h->allocations += 1;
  if (h->allocations == h->fail_allocation) return nullptr;
  void* block = h->inner.alloc_block(h->inner.context, size);
  h->live.push_back(block);
  return block;
}

inline void CountingFree(void* c, void* block) {
  auto* h = static_cast<CountingHeap*>(c);
  h->frees += 1;
  for (auto it = h->live.begin(); it != h->live.end(); ++it) {
    if (*it == block) {
      h->live.erase(it);
      break;
    }
  }
  h->inner.free_block(h->inner.context, block);
}

// Puts the counting heap in front of a platform; every other operation is
// handed on to the platform with its own context.
inline void CountHeap(PlatformOps& platform, CountingHeap& heap) {
  ForwardPlatformTo(platform, heap);
  platform.alloc_block = CountingAlloc;
  platform.free_block = CountingFree;
}

// A simulator folder in the system's temporary folder, removed afterwards.
struct TempSimFolder {
  std::filesystem::path root;
  TempSimFolder() {
    char name[] = "/tmp/aerilon-test-XXXXXX";
    root = mkdtemp(name);
    std::filesystem::create_directories(root / "ADV" / "RALLY");
  }
  ~TempSimFolder() { std::filesystem::remove_all(root); }
  std::filesystem::path File(const char* name) const { return root / "ADV" / "RALLY" / name; }
  void WriteBytes(const char* name, const std::vector<uint8_t>& bytes) const {
    std::ofstream out(File(name), std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
};

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
