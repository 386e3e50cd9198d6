// How fast the area object removal rewrites scenery files held in memory,
// in source bytes per second: the yardstick for the file-based removal,
// which adds only reading and writing the files around it. Files are
// generated with realistic groups; the share of level-4 groups inside the
// area varies from none (every file still rewritten) to most.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "sceneward/scenery/scenery_filter.h"
#include "sceneward/writer/scenery_generator.h"

namespace {

// Files of `file_size` bytes, 16 MiB in all.
scenery_source::GeneratedFiles MakeWorkload(uint32_t file_size, uint32_t percent_inside) {
  scenery_source::GeneratorOptions options;
  options.target_size = file_size;
  options.percent_inside = percent_inside;
  const uint32_t count = (16u << 20) / file_size;
  return scenery_source::GenerateSceneryFiles(options, count == 0 ? 1 : count);
}

void FilterSceneryFiles(benchmark::State& state) {
  const scenery_source::GeneratedFiles workload =
      MakeWorkload(static_cast<uint32_t>(state.range(0)), static_cast<uint32_t>(state.range(1)));
  const KillAreaList areas{&workload.area, 1};
  for (auto _ : state) {
    for (const std::vector<uint8_t>& file : workload.files) {
      FilterResult result = FilterSceneryBytes(
          ByteSpan{file.data(), static_cast<uint32_t>(file.size())}, areas, workload.area);
      if (result.outcome != FilterOutcome::kRewritten) {
        state.SkipWithError("a generated file was not rewritten");
        return;
      }
      benchmark::DoNotOptimize(result.rewritten.data);
      ByteBufferFree(result.rewritten);
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(workload.total_bytes));
  state.counters["files"] = static_cast<double>(workload.files.size());
}

}  // namespace

// Arguments: file size in bytes, percent of groups inside the area.
BENCHMARK(FilterSceneryFiles)
    ->Args({64 << 10, 0})
    ->Args({64 << 10, 30})
    ->Args({1 << 20, 30})
    ->Args({4 << 20, 80})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
