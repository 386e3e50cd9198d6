// A scenery file of another add-on, through the object removal and
// show-index's reader. The first 16 bytes are the area to clear (west,
// north, east, south in the edit script's units); the rest is the file.
// A rewritten file reads whole, clearing the same area again drops nothing
// more, and a file cleared twice stays as it is.
#include <cstring>

#include "sceneward/scenery/index_tree.h"
#include "sceneward/scenery/scenery_filter.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/fuzz/fuzz_targets.h"

namespace {

int32_t Word(FuzzInput& in) {
  uint32_t low = in.U16();
  return static_cast<int32_t>(low | static_cast<uint32_t>(in.U16()) << 16);
}

void IgnoreLine(void*, const char*) {}

bool ReadsWhole(const ByteSpan& file) {
  SceneryError error = kNoSceneryError;
  return FormatIndexTree(file, IgnoreLine, nullptr, error);
}

}  // namespace

int FuzzScenery(const uint8_t* data, size_t size) {
  FuzzInput in(data, size);
  KillArea area{};
  area.west = Word(in);
  area.north = Word(in);
  area.east = Word(in);
  area.south = Word(in);
  size_t length = 0;
  const uint8_t* file = in.Rest(&length);
  ByteSpan source{file, static_cast<uint32_t>(length)};
  ReadsWhole(source);

  KillAreaList areas{&area, 1};
  FilterResult result = FilterSceneryBytes(source, areas, area);
  if (result.outcome != FilterOutcome::kRewritten) return 0;
  ByteSpan rewritten{result.rewritten.data, result.rewritten.size};
  FuzzCheck(ReadsWhole(rewritten), "a rewritten scenery file reads whole");
  FilterResult again = FilterSceneryBytes(rewritten, areas, area);
  FuzzCheck(again.outcome == FilterOutcome::kRewritten,
            "a rewritten scenery file is accepted again");
  FuzzCheck(again.objects_dropped == 0, "clearing the same area again drops nothing more");
  // The first rewrite may carry bytes its rewinds left behind the end record;
  // the second has none, so from then on the file stays as it is.
  ByteSpan second{again.rewritten.data, again.rewritten.size};
  FilterResult third = FilterSceneryBytes(second, areas, area);
  FuzzCheck(third.outcome == FilterOutcome::kRewritten && third.rewritten.size == second.size &&
                std::memcmp(third.rewritten.data, second.data, second.size) == 0,
            "a file cleared twice stays as it is");
  ByteBufferFree(third.rewritten);
  ByteBufferFree(again.rewritten);
  ByteBufferFree(result.rewritten);
  return 0;
}
